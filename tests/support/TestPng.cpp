#include "TestPng.h"

#include <zlib.h>

namespace VarnelTest {

namespace {

void PutBigEndian32(Bytes& out, DWORD v)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<BYTE>(v >> shift));
}

void PutChunk(Bytes& out, const char* type, const Bytes& data)
{
    PutBigEndian32(out, static_cast<DWORD>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBigEndian32(out, static_cast<DWORD>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

} // namespace

Bytes MakePng(int cx, int cy, const PixelFn& pixel, int headerCx, int headerCy)
{
    Bytes raw;
    for (int y = 0; y < cy; ++y) {
        raw.push_back(0); // no filter
        for (int x = 0; x < cx; ++x) {
            const DWORD c = pixel(x, y);
            raw.insert(raw.end(), {BYTE(c >> 16), BYTE(c >> 8), BYTE(c), BYTE(c >> 24)});
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(packedSize);
    compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9);
    packed.resize(packedSize);

    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBigEndian32(header, static_cast<DWORD>(headerCx >= 0 ? headerCx : cx));
    PutBigEndian32(header, static_cast<DWORD>(headerCy >= 0 ? headerCy : cy));
    header.insert(header.end(), {8, 6, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}

} // namespace VarnelTest
