#include "SkinCheck.h"

#include <windows.h>

#include <cstring>

#include "platform/ui/UIlib.h"

using namespace DuiLib;

namespace skincheck {

namespace {

// Tags that the program's builder callbacks make, each with the library
// control it is built on. The check builds that control in its place, so
// the tag's attributes are judged by the same SetAttribute chain. Add a row
// when a window's callback starts making a new tag.
const struct {
    const char* tag;
    const char* builtOn;
} kProgramTags[] = {
    {"Canvas", "Control"},
    {"CanvasContainer", "Container"},
    {"WhiteBoardCanvasContainer", "Container"},
    {"ShotCanvasContainer", "Container"},
    {"SelectSkinContainer", "Container"},
    {"Menu", "List"},
    {"MenuElement", "ListContainerElement"},
};

class ProgramTags : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(LPCSTR pstrClass) override
    {
        for (const auto& t : kProgramTags)
            if (strcmp(t.tag, pstrClass) == 0) return CControlFactory::Create(t.builtOn);
        return nullptr;
    }
};

bool IsLayoutName(const std::string& name)
{
    return name.size() > 4 && lstrcmpiA(name.c_str() + name.size() - 4, ".xml") == 0;
}

std::string PackageBytes(int resourceId)
{
    HRSRC res = ::FindResourceA(nullptr, MAKEINTRESOURCEA(resourceId), "ZIPRES");
    HGLOBAL mem = res ? ::LoadResource(nullptr, res) : nullptr;
    const char* p = mem ? static_cast<const char*>(::LockResource(mem)) : nullptr;
    return p ? std::string(p, ::SizeofResource(nullptr, res)) : std::string();
}

}  // namespace

Result CheckSkinPackage(int resourceId)
{
    Result result;
    std::string bytes = PackageBytes(resourceId);
    CZipArchive zip;
    if (!zip.Open(bytes.data(), bytes.size()) ||
        !CResourceStore::SetResourceZip(bytes.data(), bytes.size())) {
        result.problems.push_back("skin package resource " + std::to_string(resourceId) +
                                  " cannot be opened");
        return result;
    }
    ProgramTags tags;
    for (const std::string& name : zip.Names()) {
        if (!IsLayoutName(name)) continue;
        result.layouts.push_back(name);
        std::vector<TLayoutProblem> problems;
        CPaintManagerUI manager;
        CDialogBuilder builder;
        builder.SetStrictCheck(&problems);
        delete builder.Create(name.c_str(), nullptr, &tags, &manager);
        for (const TLayoutProblem& p : problems)
            result.problems.push_back(p.file + ":" + std::to_string(p.line) + ": " + p.message);
    }
    return result;
}

}  // namespace skincheck
