#include "drawing/Presentations.h"

#include "core/ProgramFolder.h"
#include "core/StringConv.h"

#include <ole2.h>

#include <algorithm>
#include <utility>

const char kPptNoGifText[] = "找不到GIF文件,文件名转换不成功!";
const char kPptNextFileText[] = "找不到下一个文件,文件名转换不成功!";
const char kPptNoPowerPointText[] = "没有找到PowerPoint,无法加载PPT文件!";
const char kPptConvertFailText[] = "PowerPoint无法打开或转换该PPT文件!";

PptStore g_pptStore;

namespace {

// PowerPoint's automation: the dispatch ids and the GIF format of SaveAs.
const DISPID kDispPresentations = 2001;
const DISPID kDispOpen = 2004;
const DISPID kDispQuit = 2021;
const DISPID kDispSaveAs = 2036;
const DISPID kDispClose = 2039;
const int kSaveAsGif = 16;

const char kSlideWord[] = "幻灯片";

bool IsDots(const char* name)
{
    return !strcmp(name, ".") || !strcmp(name, "..");
}

// One automation call; arguments in the order the method takes them.
HRESULT Invoke(IDispatch* target, DISPID id, WORD flags, std::vector<VARIANT> args,
               VARIANT* result)
{
    if (!target) return E_POINTER;
    // The call's arguments go last to first.
    std::reverse(args.begin(), args.end());
    DISPPARAMS params = {args.empty() ? nullptr : args.data(), nullptr, (UINT)args.size(), 0};
    EXCEPINFO info = {};
    UINT badArg = 0;
    HRESULT hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &info,
                                &badArg);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    for (VARIANT& v : args) VariantClear(&v);
    return hr;
}

VARIANT Text(const std::string& ansi)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(AnsiToWide(ansi).c_str());
    return v;
}

VARIANT Int(int value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

// The object an automation call gave back, or null.
IDispatch* TakeObject(HRESULT hr, VARIANT& v)
{
    IDispatch* object = nullptr;
    if (SUCCEEDED(hr) && v.vt == VT_DISPATCH && v.pdispVal) {
        object = v.pdispVal;
        object->AddRef();
    }
    VariantClear(&v);
    return object;
}

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with)
{
    for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += with.size())
        text.replace(at, what.size(), with);
    return text;
}

}  // namespace

// --- Entries and the store -------------------------------------------------------

std::string PptEntry::GetSlide(int i) const
{
    return i >= 0 && i < (int)slides.size() ? slides[i] : std::string();
}

std::string PptEntry::SlidePath(int i) const
{
    std::string slide = GetSlide(i);
    return slide.empty() ? slide : path + "\\" + slide + extension;
}

PptStore::PptStore(std::string folder) : m_folder(std::move(folder)) {}

void PptStore::Clear()
{
    m_entries.clear();
    m_current = -1;
    m_slide = 0;
}

void PptStore::Rescan()
{
    Clear();
    if (m_folder.empty()) m_folder = GetPresentationsFolder();
    if (GetFileAttributesA(m_folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryA(m_folder.c_str(), nullptr);
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((m_folder + "*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsDots(fd.cFileName)) continue;
            PptEntry entry;
            entry.name = fd.cFileName;
            entry.path = m_folder + entry.name;
            m_entries.push_back(std::move(entry));
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    m_current = m_entries.empty() ? -1 : 0;
}

PptEntry* PptStore::Current()
{
    return m_current >= 0 && m_current < (int)m_entries.size() ? &m_entries[m_current] : nullptr;
}

const PptEntry* PptStore::Current() const
{
    return const_cast<PptStore*>(this)->Current();
}

PptEntry* PptStore::Find(const std::string& name)
{
    if (!Current()) return nullptr;
    if (name.empty()) return Current();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].name == name) {
            if ((int)i != m_current) m_slide = 0;
            m_current = (int)i;
            return &m_entries[i];
        }
    }
    // Another presentation's slides under this name would show the wrong
    // deck: a name not in the store finds nothing.
    return nullptr;
}

bool PptStore::LoadSlides(const std::string& name)
{
    PptEntry* entry = Find(name);
    if (!entry) return false;
    // Loading again lists the folder as it is now, never twice over.
    entry->slides.clear();
    entry->extension.clear();
    m_slide = 0;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((entry->path + "\\*.*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            std::string file = fd.cFileName;
            size_t dot = file.find_last_of('.');
            entry->slides.push_back(file.substr(0, dot));
            if (entry->slides.size() == 1 && dot != std::string::npos)
                entry->extension = file.substr(dot);
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    SortSlides(entry->slides);
    return true;
}

std::string PptStore::GetName(int index) const
{
    return index >= 0 && index < (int)m_entries.size() ? m_entries[index].name : std::string();
}

std::string PptStore::GetCurrentSlide(int i) const
{
    const PptEntry* entry = Current();
    return entry ? entry->GetSlide(i) : std::string();
}

bool PptStore::SetCurrentSlideIndex(int index)
{
    const PptEntry* entry = Current();
    int count = entry ? entry->SlideCount() : 0;
    int clamped = count == 0 ? 0 : std::max(0, std::min(index, count - 1));
    if (clamped == m_slide) return false;
    m_slide = clamped;
    return true;
}

int PptStore::SlideIndexOf(const std::string& name) const
{
    const PptEntry* entry = Current();
    if (!entry) return 0;
    for (int i = 0; i < entry->SlideCount(); ++i)
        if (entry->slides[i] == name) return i;
    return 0;
}

std::string GetPresentationsFolder()
{
    return GetProgramFolder() + "\\ppt\\";
}

// --- Names ------------------------------------------------------------------------

int TrailingNumber(const std::string& name)
{
    size_t start = name.size();
    while (start > 0 && name[start - 1] >= '0' && name[start - 1] <= '9') --start;
    int value = 0;
    for (size_t i = start; i < name.size(); ++i) {
        if (value > (INT_MAX - 9) / 10) return INT_MAX;
        value = value * 10 + (name[i] - '0');
    }
    return value;
}

void SortSlides(std::vector<std::string>& slides)
{
    std::stable_sort(slides.begin(), slides.end(), [](const std::string& a, const std::string& b) {
        return TrailingNumber(a) < TrailingNumber(b);
    });
}

std::string GifTargetFor(const std::string& outputFolder)
{
    if (!outputFolder.empty() && outputFolder.back() == '\\')
        return outputFolder.substr(0, outputFolder.size() - 1) + ".gif";
    return outputFolder + "gif";
}

std::string PresentationTitle(const std::string& source)
{
    size_t slash = source.find_last_of("\\/");
    std::string name = slash == std::string::npos ? source : source.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

PptResult RenameSlideFiles(const std::string& outputFolder)
{
    PptResult out;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((outputFolder + "*.gif").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) {
        out.error = kPptNoGifText;
        return out;
    }
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::string renamed = ReplaceAll(fd.cFileName, kSlideWord, "_");
        if (renamed == fd.cFileName) continue;
        const std::string from = outputFolder + fd.cFileName;
        const std::string to = outputFolder + renamed;
        DeleteFileA(to.c_str());
        MoveFileA(from.c_str(), to.c_str());
    } while (FindNextFileA(find, &fd));
    DWORD error = GetLastError();
    FindClose(find);
    if (error != ERROR_NO_MORE_FILES) {
        out.error = kPptNextFileText;
        return out;
    }
    out.ok = true;
    return out;
}

// --- PowerPoint -------------------------------------------------------------------

CConvertPPT::~CConvertPPT()
{
    if (m_pApplication) Invoke(m_pApplication, kDispQuit, DISPATCH_METHOD, {}, nullptr);
    if (m_pPresentations) m_pPresentations->Release();
    if (m_pApplication) m_pApplication->Release();
    if (m_comStarted) CoUninitialize();
}

bool CConvertPPT::Start()
{
    if (m_pPresentations) return true;
    if (!m_comStarted) m_comStarted = SUCCEEDED(CoInitialize(nullptr));
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(L"Powerpoint.Application", &clsid))) return false;
    if (!m_pApplication &&
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&m_pApplication))))
        m_pApplication = nullptr;
    if (!m_pApplication) return false;
    VARIANT v;
    VariantInit(&v);
    m_pPresentations =
        TakeObject(Invoke(m_pApplication, kDispPresentations, DISPATCH_PROPERTYGET, {}, &v), v);
    return m_pPresentations != nullptr;
}

PptResult CConvertPPT::Convert(const std::string& source, const std::string& outputFolder)
{
    PptResult out;
    m_outputFolder = outputFolder;
    if (!m_pPresentations) {
        out.error = kPptNoPowerPointText;
        return out;
    }
    VARIANT v;
    VariantInit(&v);
    IDispatch* presentation = TakeObject(
        Invoke(m_pPresentations, kDispOpen, DISPATCH_METHOD, {Text(source), Int(1), Int(0), Int(0)},
               &v),
        v);
    if (!presentation) {
        out.error = kPptConvertFailText;
        return out;
    }
    HRESULT saved = Invoke(presentation, kDispSaveAs, DISPATCH_METHOD,
                           {Text(GifTargetFor(outputFolder)), Int(kSaveAsGif), Int(1)}, nullptr);
    Invoke(presentation, kDispClose, DISPATCH_METHOD, {}, nullptr);
    presentation->Release();
    if (FAILED(saved)) {
        out.error = kPptConvertFailText;
        return out;
    }
    return RenameSlideFiles(m_outputFolder);
}

PptConversion ConvertPresentation(const std::string& source, const std::string& presentationsFolder)
{
    PptConversion conversion;
    conversion.title = PresentationTitle(source);
    // PowerPoint makes the presentation's folder, not the ones above it.
    CreateDirectoryA(presentationsFolder.c_str(), nullptr);
    {
        CConvertPPT ppt;
        if (ppt.Start())
            conversion.result = ppt.Convert(source, presentationsFolder + conversion.title + "\\");
        else
            conversion.result.error = kPptNoPowerPointText;
    }
    conversion.store = PptStore(presentationsFolder);
    conversion.store.Rescan();
    if (conversion.result.ok && !conversion.store.LoadSlides(conversion.title)) {
        conversion.result.ok = false;
        conversion.result.error = kPptNoGifText;
    }
    return conversion;
}
