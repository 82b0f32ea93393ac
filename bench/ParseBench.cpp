// Markup parsing throughput, printed next to its reference from the same run:
// the platform's UTF-8 to UTF-16 conversion of the same bytes alone (one
// MultiByteToWideChar into a buffer that is already big enough), which is
// what any parser of UTF-8 skins pays before it reads a single tag. Also
// shown: the same conversion into a buffer made for it (count, allocate,
// convert), as a loader that keeps the text has to do it.
//
// Documents: a generated one of 1 MiB shaped like a large skin (nested
// layouts, controls with many attributes, entities, ASCII and CJK text), and
// each shipped skin file.
//
// Usage: ParseBench [rounds]   (default 10)

#include "varnelui/core/UIMarkup.h"

#include "BenchTiming.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

using namespace VarnelUI;
using VarnelBench::Now;
using VarnelBench::TBest;

namespace {

constexpr size_t kGeneratedBytes = 1024 * 1024;

// One block of the generated document; n makes names and numbers differ.
std::string Block(int n)
{
    const std::string id = std::to_string(n);
    const std::string cell = std::to_string(27 * (n % 3));
    std::string s;
    s += "    <HorizontalLayout name=\"row" + id + "\" height=\"32\" inset=\"2,3,2,2\" childpadding=\"4\">\n";
    s += "      <VerticalLayout width=\"200\" bkcolor=\"#FF202840\" bordercolor=\"#FF4060A0\" bordersize=\"1\">\n";
    s += "        <Label name=\"title" + id + "\" text=\"{b}Realm " + id +
         "{/b} &amp; friends &lt;online&gt;\" textcolor=\"#FFFFFBF0\" showhtml=\"true\" font=\"1\" />\n";
    s += "        <Label name=\"cn" + id + "\" text=\"服务器 " + id +
         " 区：欢迎回来，勇士！&quot;开始游戏&quot;\" tooltip=\"点击进入游戏世界\" textcolor=\"#FFE0C080\" />\n";
    s += "        <Text name=\"note" + id + "\">Press &apos;Play&apos; to start; 按下开始进入。</Text>\n";
    s += "      </VerticalLayout>\n";
    s += "      <Button name=\"btn" + id +
         "\" width=\"27\" height=\"27\" tooltip=\"客服\" normalimage=\"file='kefubtn.png' source='" + cell + ",0," +
         std::to_string(27 * (n % 3) + 27) + ",27'\" hotimage=\"file='kefubtn.png' source='27,0,54,27'\"" +
         " pushedimage=\"file='kefubtn.png' source='54,0,81,27' fade='200'\" padding=\"1,2,3,4\" align=\"center\" />\n";
    s += "      <!-- spacer " + id + " -->\n";
    s += "      <Control />\n";
    s += "    </HorizontalLayout>\n";
    return s;
}

std::string GeneratedDocument()
{
    std::string s = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    s += "<Window size=\"1286,768\" sizebox=\"4,4,6,6\" caption=\"0,0,0,32\" roundcorner=\"5,5\">\n";
    s += "  <Font name=\"新宋体\" size=\"15\" bold=\"true\" default=\"true\" />\n";
    s += "  <VerticalLayout bkimage=\"file='PlayGameBg.png' corner='10,32,10,10' mask='0xffff00ff'\">\n";
    const std::string close = "  </VerticalLayout>\n</Window>\n";
    for (int n = 0;; ++n) {
        const std::string block = Block(n);
        if (s.size() + block.size() + close.size() > kGeneratedBytes) break;
        s += block;
    }
    s += close;
    return s;
}

std::string ReadFile(const std::wstring& path)
{
    std::string bytes;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (f == nullptr) return bytes;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
}

struct TFigures
{
    TBest parse;    // seconds per LoadFromMem
    TBest platform; // seconds per MultiByteToWideChar alone, into a buffer made before
    TBest fresh;    // the same into a buffer made for it (count, allocate, convert, free)
    bool ok = false;
};

// The rounds alternate between parsing and converting so that both see the
// same machine.
TFigures Measure(const std::string& bytes, int rounds, int iterations)
{
    TFigures f;
    const BYTE* data = reinterpret_cast<const BYTE*>(bytes.data());
    const DWORD size = static_cast<DWORD>(bytes.size());
    CMarkup markup;
    f.ok = markup.LoadFromMem(data, size);

    std::vector<wchar_t> units(bytes.size() + 1);
    const int count = static_cast<int>(bytes.size());
    for (int round = 0; round < rounds; ++round) {
        double start = Now();
        for (int i = 0; i < iterations; ++i) markup.LoadFromMem(data, size);
        f.parse.Add((Now() - start) / iterations);

        start = Now();
        for (int i = 0; i < iterations; ++i)
            ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), count, units.data(), static_cast<int>(units.size()));
        f.platform.Add((Now() - start) / iterations);

        start = Now();
        for (int i = 0; i < iterations; ++i) {
            const int needed = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), count, nullptr, 0);
            std::unique_ptr<wchar_t[]> fresh(new wchar_t[static_cast<size_t>(needed) + 1]);
            ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), count, fresh.get(), needed);
        }
        f.fresh.Add((Now() - start) / iterations);
    }
    return f;
}

void Print(const char* name, size_t bytes, const TFigures& f)
{
    const double mb = static_cast<double>(bytes) / (1024.0 * 1024.0);
    const double parse = mb / f.parse.value;
    const double platform = mb / f.platform.value;
    const double fresh = mb / f.fresh.value;
    std::printf("%-20s %8zu bytes  LoadFromMem %7.1f MB/s  conversion alone %7.1f MB/s  ratio %5.2f"
                "  (into a new buffer %7.1f MB/s, ratio %5.2f)%s\n",
                name, bytes, parse, platform, parse / platform, fresh, parse / fresh, f.ok ? "" : "  (LOAD FAILED)");
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int rounds = argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 10;
    constexpr int kGeneratedIterations = 5;
    constexpr int kSkinIterations = 500;

    const std::string generated = GeneratedDocument();
    std::printf("%d rounds of %d loads of the generated document and %d of each skin; each figure is its fastest "
                "round\n",
                rounds, kGeneratedIterations, kSkinIterations);
    Print("generated", generated.size(), Measure(generated, rounds, kGeneratedIterations));

    bool ok = true;
    for (const wchar_t* name : {L"login.xml", L"loginWebWnd.xml", L"playGameWindow.xml"}) {
        const std::string skin = ReadFile(std::wstring(VARNEL_SKIN_DIR) + L"/" + name);
        const TFigures f = Measure(skin, rounds, kSkinIterations);
        char narrow[64];
        std::snprintf(narrow, sizeof(narrow), "%ls", name);
        Print(narrow, skin.size(), f);
        ok = ok && f.ok;
    }
    return ok ? 0 : 1;
}
