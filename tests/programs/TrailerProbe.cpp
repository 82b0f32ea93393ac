// Reports what the launcher's trailer code reads from this very file, so tests
// can append trailers to copies of it and compare. Output, one per line:
// "end=<image end offset>", then "field<i>=<text>" or "field<i>=<none>" for 0..2.
#include "app/Trailer.h"

#include <cstdio>

int wmain()
{
    std::printf("end=%lu\n", static_cast<unsigned long>(GetImageEndOffset()));
    for (int i = 0; i < 3; ++i) {
        VarnelUI::CUIString field = L"<untouched>";
        if (!GetTrailerField(i, field)) {
            std::printf("field%d=<none>%s\n", i, field == L"<untouched>" ? "" : " (out changed)");
            continue;
        }
        const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, field, -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<size_t>(bytes), '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, field, -1, utf8.data(), bytes, nullptr, nullptr);
        std::printf("field%d=%s\n", i, utf8.c_str());
    }
    return 0;
}
