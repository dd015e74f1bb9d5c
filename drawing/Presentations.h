// Presentations as the whiteboard shows them: a presentation converted to
// one picture per slide by an installed PowerPoint (OLE automation of
// "Powerpoint.Application"), kept in "<program>\ppt\<title>\", and indexed
// in a store of entries whose slides are sorted by their trailing number.
//
// No windows. The store the windows read (g_pptStore) belongs to the UI
// thread; a conversion builds a store of its own on its thread and the UI
// thread swaps it in, so no store is ever read while another thread changes
// it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

// Texts the user reads when a conversion fails.
extern const char kPptNoGifText[];        // no slide picture was written
extern const char kPptNextFileText[];     // the folder could not be listed to the end
extern const char kPptNoPowerPointText[]; // no PowerPoint to convert with
extern const char kPptConvertFailText[];  // PowerPoint refused the presentation

struct PptEntry {
    std::string name;       // the folder's name: the presentation's title
    std::string path;       // presentations folder + name
    std::string extension;  // of the first slide file found, dot included (".GIF")
    std::vector<std::string> slides;  // file names without extension, in slide order

    // The i-th slide name; empty when there is none.
    std::string GetSlide(int i) const;
    // The slide's file; empty when there is none.
    std::string SlidePath(int i) const;
    int SlideCount() const { return (int)slides.size(); }
};

class PptStore {
public:
    // folder: the presentations folder, with its trailing backslash; empty:
    // the program's (GetPresentationsFolder).
    explicit PptStore(std::string folder = "");

    // Empties the store and lists every presentation folder (creating the
    // presentations folder when it is missing); the first becomes current.
    void Rescan();
    // With no current entry: none. An empty name: the current entry. Else
    // the entry of that exact name becomes current and is returned; none
    // when no entry has it (the current entry stays).
    PptEntry* Find(const std::string& name);
    // The named entry becomes current and its slides are listed anew from
    // its folder, sorted. False when no entry has that name.
    bool LoadSlides(const std::string& name);
    std::string GetName(int index) const;
    // The i-th slide of the current entry; empty when there is none.
    std::string GetCurrentSlide(int i) const;

    PptEntry* Current();
    const PptEntry* Current() const;
    int CurrentIndex() const { return m_current; }
    int Count() const { return (int)m_entries.size(); }
    const std::string& Folder() const { return m_folder; }

    // The slide shown of the current entry (clamped to its slides; 0 for
    // none) and moving it; false when it did not change.
    int CurrentSlideIndex() const { return m_slide; }
    bool SetCurrentSlideIndex(int index);
    // The index of the first slide of that name in the current entry,
    // clamped to its slides; 0 when the name is not there.
    int SlideIndexOf(const std::string& name) const;

    void Clear();

private:
    std::string m_folder;
    std::vector<PptEntry> m_entries;
    int m_current = -1;
    int m_slide = 0;
};

// The store the whiteboard and its windows show. UI thread only.
extern PptStore g_pptStore;

// "<program folder>\ppt\".
std::string GetPresentationsFolder();

// The value of the run of decimal digits that ends the name; 0 when it does
// not end in a digit.
int TrailingNumber(const std::string& name);
// Ascending by trailing number; equal numbers keep their order.
void SortSlides(std::vector<std::string>& slides);

// The file PowerPoint is asked to save the GIF slides as: the folder with
// its final backslash made a dot, then "gif" (…\ppt\Deck\ -> …\ppt\Deck.gif).
std::string GifTargetFor(const std::string& outputFolder);
// The presentation's title: its file name without the path and without the
// last extension.
std::string PresentationTitle(const std::string& source);

// What renaming the slides PowerPoint wrote ("幻灯片1.GIF" -> "_1.GIF")
// came to; the text for the user when it failed.
struct PptResult {
    bool ok = false;
    std::string error;
};
// Replaces "幻灯片" by "_" in the name of every GIF file of the folder
// (the file name only: the folders above keep theirs).
PptResult RenameSlideFiles(const std::string& outputFolder);

// One automation connection to PowerPoint.
class CConvertPPT {
public:
    CConvertPPT() = default;
    // Quits PowerPoint, lets go of it and ends COM on the thread.
    ~CConvertPPT();
    CConvertPPT(const CConvertPPT&) = delete;
    CConvertPPT& operator=(const CConvertPPT&) = delete;

    // COM on the calling thread, the application and its Presentations
    // collection. False when PowerPoint cannot be had.
    bool Start();
    bool Started() const { return m_pPresentations != nullptr; }
    // Opens the presentation, saves it as GIF slides into outputFolder and
    // renames them.
    PptResult Convert(const std::string& source, const std::string& outputFolder);

private:
    std::string m_outputFolder;
    IDispatch* m_pPresentations = nullptr;
    IDispatch* m_pApplication = nullptr;
    bool m_comStarted = false;
};

// A whole conversion as the conversion thread runs it: PowerPoint writes
// the slides of `source` into presentationsFolder + title + "\", then a new
// store of presentationsFolder is made with that title's slides current.
struct PptConversion {
    PptResult result;
    std::string title;
    PptStore store;
};
PptConversion ConvertPresentation(const std::string& source, const std::string& presentationsFolder);
