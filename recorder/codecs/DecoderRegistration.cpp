#include "recorder/codecs/DecoderRegistration.h"

#include <cstring>

const char* const kXvidDecoderFourccs[24] = {
    "xvid", "XVID", "divx", "DIVX", "dx50", "DX50", "3ivx", "3IVX", "3iv0", "3IV0", "3iv1", "3IV1",
    "3iv2", "3IV2", "lmp4", "LMP4", "rmp4", "RMP4", "smp4", "SMP4", "hdx4", "HDX4", "mp4v", "MP4V"};

namespace {

DWORD Fourcc(const char* text)
{
    return mmioFOURCC(text[0], text[1], text[2], text[3]);
}

const DWORD kVideoMajor = mmioFOURCC('v', 'i', 'd', 's');
const DWORD kYv12 = mmioFOURCC('Y', 'V', '1', '2');

// The decoder is offered like any other: it must not push the system's own
// decoders aside.
const DWORD kMeritNormal = 0x00600000;
const DWORD kPinFlagOutput = 0x8;  // REG_PINFLAG_B_OUTPUT

class Blob {
public:
    size_t size() const { return bytes_.size(); }
    void Dword(DWORD v) { Append(&v, sizeof v); }
    void Guid(const GUID& g) { Append(&g, sizeof g); }
    // A four-byte tag whose first character counts up: "0pi3", "1pi3", ...
    void Tag(const char* tag, int index)
    {
        char t[4];
        memcpy(t, tag, 4);
        t[0] = static_cast<char>(t[0] + index);
        Append(t, 4);
    }
    void PatchDword(size_t at, DWORD v) { memcpy(&bytes_[at], &v, sizeof v); }
    std::vector<BYTE> Take() { return std::move(bytes_); }

private:
    void Append(const void* p, size_t n)
    {
        const BYTE* b = static_cast<const BYTE*>(p);
        bytes_.insert(bytes_.end(), b, b + n);
    }
    std::vector<BYTE> bytes_;
};

std::vector<BYTE> TypePairs(const std::vector<DWORD>& subtypes)
{
    Blob b;
    for (DWORD s : subtypes) {
        b.Guid(FourccSubtype(kVideoMajor));
        b.Guid(FourccSubtype(s));
    }
    return b.Take();
}

std::vector<DWORD> InputSubtypes()
{
    std::vector<DWORD> v;
    for (const char* f : kXvidDecoderFourccs) v.push_back(Fourcc(f));
    return v;
}

}  // namespace

GUID FourccSubtype(DWORD fourcc)
{
    return GUID{fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

std::vector<BYTE> BuildXvidFilterData()
{
    struct Pin {
        DWORD flags;
        std::vector<DWORD> subtypes;
    };
    const Pin pins[] = {{0, InputSubtypes()}, {kPinFlagOutput, {kYv12}}};

    // The GUID pool follows the pins; each distinct GUID is stored once and
    // the media types point at it by offset from the start of the blob.
    std::vector<DWORD> pool{kVideoMajor};
    auto poolIndex = [&pool](DWORD code) {
        for (size_t i = 0; i < pool.size(); ++i)
            if (pool[i] == code) return i;
        pool.push_back(code);
        return pool.size() - 1;
    };
    struct TypeRef {
        size_t at;
        size_t major, minor;
    };
    std::vector<TypeRef> refs;

    Blob b;
    b.Dword(2);  // version
    b.Dword(kMeritNormal);
    b.Dword(static_cast<DWORD>(sizeof pins / sizeof pins[0]));
    b.Dword(0);
    for (int p = 0; p < 2; ++p) {
        b.Tag("0pi3", p);
        b.Dword(pins[p].flags);
        b.Dword(0);  // instances
        b.Dword(static_cast<DWORD>(pins[p].subtypes.size()));
        b.Dword(0);  // mediums
        b.Dword(0);  // no pin category
        for (size_t t = 0; t < pins[p].subtypes.size(); ++t) {
            b.Tag("0ty3", static_cast<int>(t));
            b.Dword(0);
            refs.push_back({b.size(), poolIndex(kVideoMajor), poolIndex(pins[p].subtypes[t])});
            b.Dword(0);
            b.Dword(0);
        }
    }
    const size_t poolStart = b.size();
    for (DWORD code : pool) b.Guid(FourccSubtype(code));
    for (const TypeRef& r : refs) {
        b.PatchDword(r.at, static_cast<DWORD>(poolStart + r.major * sizeof(GUID)));
        b.PatchDword(r.at + 4, static_cast<DWORD>(poolStart + r.minor * sizeof(GUID)));
    }
    return b.Take();
}

std::vector<BYTE> BuildXvidInputTypes()
{
    return TypePairs(InputSubtypes());
}

std::vector<BYTE> BuildXvidOutputTypes()
{
    return TypePairs({kYv12});
}
