#pragma once
// The skin vocabulary reference: every element the dialog builder knows and
// the attributes each one reads, with their value syntax, in Markdown. It is
// listed from the tables that apply the attributes, so it cannot drift from
// what the builder and the controls do.

#include <string>

namespace SkinView {

// UTF-8 text with "\n" line ends.
std::string VocabularyMarkdown();

} // namespace SkinView
