#include "TestPowerPoint.h"

#include <ole2.h>
#include <olectl.h>

#include <cstdio>
#include <cwchar>
#include <new>
#include <string>
#include <vector>

namespace {

// {5B1E8C0A-7C2D-4E61-9A43-0B7D2F1C6E19}
const CLSID CLSID_OrbiskTestPowerPoint = {
    0x5b1e8c0a, 0x7c2d, 0x4e61, {0x9a, 0x43, 0x0b, 0x7d, 0x2f, 0x1c, 0x6e, 0x19}};
const wchar_t kClsidKey[] = L"CLSID\\{5B1E8C0A-7C2D-4E61-9A43-0B7D2F1C6E19}";
const wchar_t kProgId[] = L"Powerpoint.Application";

HMODULE g_module = nullptr;
LONG g_objects = 0;
LONG g_locks = 0;

void Log(DISPID id)
{
    FILE* f = fopen(TestPowerPointLogPath().c_str(), "ab");
    if (!f) return;
    fprintf(f, "%ld\n", (long)id);
    fclose(f);
}

// --- A GIF of 16 colours, written with literal codes only ----------------------------

class BitWriter {
public:
    void Put(unsigned code, int width)
    {
        acc_ |= code << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            bytes_.push_back((unsigned char)(acc_ & 0xFF));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }
    std::vector<unsigned char> Finish()
    {
        if (bits_ > 0) bytes_.push_back((unsigned char)(acc_ & 0xFF));
        return bytes_;
    }

private:
    unsigned acc_ = 0;
    int bits_ = 0;
    std::vector<unsigned char> bytes_;
};

// Slide k: its colour with a black border of 16 pixels, so a picture cut
// at an edge shows.
bool WriteSlideGif(const std::wstring& path, int k)
{
    const int w = 320, h = 240, border = 16;
    std::vector<unsigned char> out = {'G', 'I', 'F', '8', '9', 'a'};
    auto word = [&](int v) {
        out.push_back((unsigned char)(v & 0xFF));
        out.push_back((unsigned char)(v >> 8));
    };
    word(w);
    word(h);
    out.push_back(0xF3);  // global table of 16 entries
    out.push_back(0);
    out.push_back(0);
    for (int i = 0; i < 16; ++i) {
        COLORREF c = i == 0 ? RGB(0, 0, 0) : SlideColour(i);
        out.push_back(GetRValue(c));
        out.push_back(GetGValue(c));
        out.push_back(GetBValue(c));
    }
    out.push_back(0x2C);
    word(0);
    word(0);
    word(w);
    word(h);
    out.push_back(0);
    out.push_back(4);  // LZW minimum code size
    const unsigned clear = 16, end = 17;
    const int width = 5;
    BitWriter bits;
    int sinceClear = 0;
    bits.Put(clear, width);
    const unsigned fill = (unsigned)((k - 1) % 12 + 1);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            bool edge = x < border || y < border || x >= w - border || y >= h - border;
            // No code ever gets wider than 5 bits: the table starts over
            // before it could grow.
            if (sinceClear == 12) {
                bits.Put(clear, width);
                sinceClear = 0;
            }
            bits.Put(edge ? 0 : fill, width);
            ++sinceClear;
        }
    }
    bits.Put(end, width);
    std::vector<unsigned char> data = bits.Finish();
    for (size_t at = 0; at < data.size(); at += 255) {
        size_t n = data.size() - at < 255 ? data.size() - at : 255;
        out.push_back((unsigned char)n);
        out.insert(out.end(), data.begin() + at, data.begin() + at + n);
    }
    out.push_back(0);
    out.push_back(0x3B);
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    bool ok = fwrite(out.data(), 1, out.size(), f) == out.size();
    return fclose(f) == 0 && ok;
}

// --- The automation objects --------------------------------------------------------

class Object : public IDispatch {
public:
    Object() { InterlockedIncrement(&g_objects); }
    virtual ~Object() { InterlockedDecrement(&g_objects); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return n;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override
    {
        *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO*, UINT*) override
    {
        Log(id);
        return Call(id, flags, params ? *params : DISPPARAMS{}, result);
    }

protected:
    virtual HRESULT Call(DISPID id, WORD flags, const DISPPARAMS& p, VARIANT* result) = 0;

    // Argument i in the call's order (the array holds them last to first).
    static const VARIANT* Arg(const DISPPARAMS& p, UINT i)
    {
        return i < p.cArgs ? &p.rgvarg[p.cArgs - 1 - i] : nullptr;
    }
    static HRESULT Return(VARIANT* result, IDispatch* object)
    {
        if (!result) {
            object->Release();
            return S_OK;
        }
        VariantInit(result);
        result->vt = VT_DISPATCH;
        result->pdispVal = object;
        return S_OK;
    }

private:
    LONG refs_ = 1;
};

class Presentation : public Object {
public:
    explicit Presentation(int slides) : slides_(slides) {}

protected:
    HRESULT Call(DISPID id, WORD flags, const DISPPARAMS& p, VARIANT*) override
    {
        if (id == 2039 && (flags & DISPATCH_METHOD) && p.cArgs == 0) return S_OK;  // Close
        if (id != 2036 || !(flags & DISPATCH_METHOD) || p.cArgs != 3) return DISP_E_MEMBERNOTFOUND;
        // SaveAs(file, 16 = GIF, 1): the slides go into the folder named
        // after the file without its extension.
        const VARIANT* file = Arg(p, 0);
        const VARIANT* format = Arg(p, 1);
        if (file->vt != VT_BSTR || format->vt != VT_I4 || format->lVal != 16) return E_INVALIDARG;
        std::wstring folder = file->bstrVal;
        size_t dot = folder.find_last_of(L'.');
        if (dot == std::wstring::npos) return E_INVALIDARG;
        folder = folder.substr(0, dot);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (int k = 1; k <= slides_; ++k) {
            wchar_t name[32];
            swprintf(name, 32, L"\\幻灯片%d.GIF", k);
            if (!WriteSlideGif(folder + name, k)) return E_FAIL;
        }
        return S_OK;
    }

private:
    int slides_;
};

class Presentations : public Object {
protected:
    HRESULT Call(DISPID id, WORD flags, const DISPPARAMS& p, VARIANT* result) override
    {
        if (id != 2004 || !(flags & DISPATCH_METHOD) || p.cArgs != 4) return DISP_E_MEMBERNOTFOUND;
        // Open(file, read-only 1, untitled 0, with window 0).
        const VARIANT* file = Arg(p, 0);
        if (file->vt != VT_BSTR || Arg(p, 1)->vt != VT_I4 || Arg(p, 1)->lVal != 1)
            return E_INVALIDARG;
        FILE* f = _wfopen(file->bstrVal, L"rb");
        if (!f) return E_FAIL;
        int slides = 0;
        int read = fscanf(f, "slides=%d", &slides);
        fclose(f);
        if (read != 1 || slides < 1) return E_FAIL;
        return Return(result, new Presentation(slides));
    }
};

class Application : public Object {
protected:
    HRESULT Call(DISPID id, WORD flags, const DISPPARAMS& p, VARIANT* result) override
    {
        if (id == 2001 && (flags & DISPATCH_PROPERTYGET) && p.cArgs == 0)
            return Return(result, new Presentations);
        if (id == 2021 && (flags & DISPATCH_METHOD)) return S_OK;  // Quit
        return DISP_E_MEMBERNOTFOUND;
    }
};

class Factory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (outer) return CLASS_E_NOAGGREGATION;
        Application* app = new (std::nothrow) Application;
        if (!app) return E_OUTOFMEMORY;
        HRESULT hr = app->QueryInterface(riid, ppv);
        app->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&g_locks);
        else
            InterlockedDecrement(&g_locks);
        return S_OK;
    }
};

Factory g_factory;

bool SetString(HKEY key, const wchar_t* name, const wchar_t* value)
{
    return RegSetValueExW(key, name, 0, REG_SZ, (const BYTE*)value,
                          (DWORD)((wcslen(value) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool SetKey(HKEY root, const std::wstring& path, const wchar_t* name, const wchar_t* value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool ok = SetString(key, name, value);
    RegCloseKey(key);
    return ok;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_OrbiskTestPowerPoint) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(g_module, path, MAX_PATH);
    const std::wstring clsid = kClsidKey;
    const std::wstring id = L"{5B1E8C0A-7C2D-4E61-9A43-0B7D2F1C6E19}";
    bool ok = SetKey(HKEY_CLASSES_ROOT, clsid, nullptr, L"Microsoft PowerPoint Application") &&
              SetKey(HKEY_CLASSES_ROOT, clsid + L"\\InprocServer32", nullptr, path) &&
              SetKey(HKEY_CLASSES_ROOT, clsid + L"\\InprocServer32", L"ThreadingModel", L"Both") &&
              SetKey(HKEY_CLASSES_ROOT, clsid + L"\\ProgID", nullptr, kProgId) &&
              SetKey(HKEY_CLASSES_ROOT, kProgId, nullptr, L"Microsoft PowerPoint Application") &&
              SetKey(HKEY_CLASSES_ROOT, std::wstring(kProgId) + L"\\CLSID", nullptr, id.c_str());
    return ok ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kClsidKey);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
    return S_OK;
}
