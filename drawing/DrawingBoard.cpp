#include "drawing/DrawingBoard.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <new>

DrawingBoard g_drawingBoard;

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

const COLORREF kDefaultColours[7] = {0xEFBD00, 0x0B78F9, 0xFF0000, 0x3838FB,
                                     0x003CDC, 0x06BE0B, 0x3838FB};
const int kDefaultWidths[6] = {3, 5, 2, 2, 2, 2};

bool IsTool(int tool)
{
    return tool >= kToolPen && tool <= kToolNone;
}

}  // namespace

DrawingBoard::DrawingBoard()
{
    std::memcpy(m_colours, kDefaultColours, sizeof m_colours);
    std::memcpy(m_widths, kDefaultWidths, sizeof m_widths);
}

DrawingBoard::~DrawingBoard() = default;

// ---- tool, colours and widths ----

int DrawingBoard::GetTool() const
{
    Lock lock(m_lock);
    return m_tool;
}

void DrawingBoard::SetTool(int tool)
{
    Lock lock(m_lock);
    if (IsTool(tool)) m_tool = tool;
}

bool DrawingBoard::HasColour(int tool)
{
    return tool >= kToolPen && tool <= kToolText;
}

bool DrawingBoard::HasWidth(int tool)
{
    return tool >= kToolPen && tool <= kToolLetter;
}

COLORREF DrawingBoard::GetColour(int tool) const
{
    Lock lock(m_lock);
    return HasColour(tool) ? m_colours[tool] : 0;
}

int DrawingBoard::GetWidth(int tool) const
{
    Lock lock(m_lock);
    return HasWidth(tool) ? m_widths[tool] : 0;
}

bool DrawingBoard::SetColour(int tool, COLORREF colour)
{
    Lock lock(m_lock);
    if (!HasColour(tool)) return false;
    m_colours[tool] = colour;
    return true;
}

bool DrawingBoard::SetWidth(int tool, int width)
{
    Lock lock(m_lock);
    if (!HasWidth(tool) || width < 1) return false;
    m_widths[tool] = width;
    return true;
}

bool DrawingBoard::SetCurrentColour(COLORREF colour)
{
    Lock lock(m_lock);
    return SetColour(m_tool, colour);
}

bool DrawingBoard::SetCurrentWidth(int width)
{
    Lock lock(m_lock);
    return SetWidth(m_tool, width);
}

// ---- gestures ----

void DrawingBoard::BeginShape(const POINT& pt, int width, COLORREF colour)
{
    Lock lock(m_lock);
    // A gesture whose button-up never came is dropped, not leaked.
    m_tempRect.reset();
    m_tempArrow.reset();
    m_current = nullptr;
    m_drawing = false;
    if (m_tool == kToolText || m_tool == kToolNone) return;
    m_drawing = true;
    m_gestureTool = m_tool;
    ShapePtr shape;
    switch (m_tool) {
        case kToolPen:
            shape.reset(new CPenObj(pt, width, colour));
            break;
        case kToolHighlighter:
            shape.reset(new CWaterPenObj(pt, width, colour));
            break;
        case kToolRectangle:
        case kToolEraser:
            m_tempRect.reset(new CRectTempObj(pt, 0, 0));
            break;
        case kToolArrow:
            m_tempArrow.reset(new CArrowObj(pt, width, colour));
            break;
        case kToolNumber:
            shape.reset(new CNumObj(pt, width, colour));
            break;
        case kToolLetter:
            shape.reset(new CLetterObj(pt, width, colour));
            break;
        default:
            break;
    }
    if (m_tool != kToolEraser) ClearStack(m_redo);
    if (shape) {
        m_current = shape.get();
        AppendShape(std::move(shape));
    }
}

void DrawingBoard::TrackShape(const POINT& pt)
{
    Lock lock(m_lock);
    if (!m_drawing) return;
    switch (m_gestureTool) {
        case kToolPen:
        case kToolHighlighter:
            if (m_current) m_current->AddPoint(pt);
            break;
        case kToolRectangle:
        case kToolEraser:
            if (m_tempRect) m_tempRect->AddPoint(pt);
            break;
        case kToolArrow:
            if (m_tempArrow) m_tempArrow->AddPoint(pt);
            break;
        default:
            break;
    }
}

void DrawingBoard::FinishShape()
{
    Lock lock(m_lock);
    if (!m_drawing) return;
    m_drawing = false;
    if (m_tempRect) {
        const RECT rc = m_tempRect->Rect();
        m_eraser = rc;
        if (m_gestureTool == kToolRectangle) {
            const int w = m_widths[kToolRectangle];
            const COLORREF c = m_colours[kToolRectangle];
            AppendShape(ShapePtr(new CSpecialLineObj(rc.left, rc.top, rc.right, rc.top, w, c)));
            AppendShape(
                ShapePtr(new CSpecialLineObj(rc.right, rc.top, rc.right, rc.bottom, w, c)));
            AppendShape(
                ShapePtr(new CSpecialLineObj(rc.right, rc.bottom, rc.left, rc.bottom, w, c)));
            AppendShape(ShapePtr(new CSpecialLineObj(rc.left, rc.bottom, rc.left, rc.top, w, c)));
        } else if (m_gestureTool == kToolEraser) {
            EraseShapesInRect(rc);
        }
        m_tempRect.reset();
    }
    if (m_tempArrow) {
        const POINT s = m_tempArrow->Start(), e = m_tempArrow->End();
        AppendShape(ShapePtr(new CArrowObj(s.x, s.y, e.x, e.y, m_widths[kToolArrow],
                                           m_colours[kToolArrow])));
        m_tempArrow.reset();
    }
    m_current = nullptr;
    PushSnapshotLocked();
}

bool DrawingBoard::IsDrawing() const
{
    Lock lock(m_lock);
    return m_drawing;
}

// ---- shapes ----

void DrawingBoard::AddTextShape(const std::string& text, int x, int y)
{
    Lock lock(m_lock);
    const COLORREF colour = HasColour(m_tool) ? m_colours[m_tool] : m_colours[kToolText];
    ClearStack(m_redo);
    AppendShape(ShapePtr(new CInputTextObj(x, y, text.c_str(), colour)));
    PushSnapshotLocked();
}

void DrawingBoard::AddShape(CShapeObj* shape)
{
    Lock lock(m_lock);
    AppendShape(ShapePtr(shape));
}

void DrawingBoard::AppendShape(ShapePtr shape)
{
    if (shape) m_shapes.push_back(std::move(shape));
}

void DrawingBoard::AddStrokePiece(CShapeObj* stroke, int cutX, int cutY, int lastRemovedX,
                                  int lastRemovedY)
{
    Lock lock(m_lock);
    if (!stroke) return;
    const std::string cls = stroke->GetClassName();
    ShapePtr piece;
    if (cls == "CPenObj")
        piece.reset(new CPenObj(static_cast<const CPenObj&>(*stroke), cutX, cutY, lastRemovedX,
                                lastRemovedY, m_eraser));
    else if (cls == "CWaterPenObj")
        piece.reset(new CWaterPenObj(static_cast<const CWaterPenObj&>(*stroke), cutX, cutY,
                                     lastRemovedX, lastRemovedY, m_eraser));
    AppendShape(std::move(piece));
}

void DrawingBoard::RemoveShape(CShapeObj* shape)
{
    Lock lock(m_lock);
    for (auto it = m_shapes.begin(); it != m_shapes.end(); ++it) {
        if (it->get() != shape) continue;
        if (m_current == shape) m_current = nullptr;
        m_shapes.erase(it);
        m_layerValid = false;
        return;
    }
}

CShapeObj* DrawingBoard::HitShape(int x, int y)
{
    Lock lock(m_lock);
    for (const ShapePtr& s : m_shapes)
        if (s->HitTest(x, y)) return s.get();
    return nullptr;
}

// Pieces an erase appends are not walked again: they end on the eraser's
// edges, and a piece ending on its left or top edge counts as inside and
// would be cut into the same piece again, without end.
void DrawingBoard::EraseShapesInRect(RECT eraser)
{
    Lock lock(m_lock);
    m_eraser = eraser;
    m_layerValid = false;
    size_t remaining = m_shapes.size();
    for (auto it = m_shapes.begin(); remaining > 0; --remaining) {
        if ((*it)->Points().empty()) {
            if (m_current == it->get()) m_current = nullptr;
            it = m_shapes.erase(it);
        } else {
            (*it)->Erase(eraser, *this);
            ++it;
        }
    }
}

size_t DrawingBoard::FinishedCount() const
{
    size_t n = 0;
    for (const ShapePtr& s : m_shapes) {
        if (s.get() == m_current) break;
        ++n;
    }
    return n;
}

bool DrawingBoard::UpdateLayer(int w, int h, size_t finished)
{
    const size_t pixels = (size_t)w * (size_t)h;
    if (!m_layerValid || w != m_layerWidth || h != m_layerHeight || m_layerShapes > finished) {
        try {
            m_layer.assign(pixels, 0);
        } catch (const std::bad_alloc&) {
            DropLayer();
            return false;
        }
        m_layerWidth = w;
        m_layerHeight = h;
        m_layerShapes = 0;
        m_layerValid = true;
    }
    if (m_layerShapes == finished) return true;
    Gdiplus::Bitmap layer(w, h, w * 4, PixelFormat32bppPARGB,
                          reinterpret_cast<BYTE*>(m_layer.data()));
    Gdiplus::Graphics lg(&layer);
    auto it = m_shapes.begin();
    std::advance(it, m_layerShapes);
    for (; m_layerShapes < finished; ++m_layerShapes, ++it) (*it)->Draw(lg);
    return true;
}

void DrawingBoard::DropLayer()
{
    std::vector<UINT32>().swap(m_layer);
    m_layerWidth = m_layerHeight = 0;
    m_layerShapes = 0;
    m_layerValid = false;
}

void DrawingBoard::DrawAllShapes(Gdiplus::Graphics& g)
{
    Lock lock(m_lock);
    if (m_tempRect) m_tempRect->Draw(g);
    if (m_tempArrow) CArrowObj::DrawArrow(g, m_tempArrow->Start(), m_tempArrow->End(),
                                          m_tempArrow->GetColour());
    size_t drawn = 0;
    const size_t finished = FinishedCount();
    Gdiplus::Matrix transform;
    g.GetTransform(&transform);
    Gdiplus::RectF visible;
    g.GetVisibleClipBounds(&visible);
    const Gdiplus::Unit unit = g.GetPageUnit();
    const int w = (int)std::ceil(visible.X + visible.Width);
    const int h = (int)std::ceil(visible.Y + visible.Height);
    if (finished > 0 && transform.IsIdentity() && g.GetPageScale() == 1.0f &&
        (unit == Gdiplus::UnitPixel || unit == Gdiplus::UnitDisplay) && visible.X >= 0 &&
        visible.Y >= 0 && w > 0 && h > 0 && w <= 8192 && h <= 8192 &&
        UpdateLayer(w, h, finished)) {
        Gdiplus::Bitmap layer(w, h, w * 4, PixelFormat32bppPARGB,
                              reinterpret_cast<BYTE*>(m_layer.data()));
        g.DrawImage(&layer, Gdiplus::Rect(0, 0, w, h), 0, 0, w, h, Gdiplus::UnitPixel);
        drawn = finished;
    }
    auto it = m_shapes.begin();
    std::advance(it, drawn);
    for (; it != m_shapes.end(); ++it) (*it)->Draw(g);
}

void DrawingBoard::DeleteShapes()
{
    m_current = nullptr;
    m_shapes.clear();
    DropLayer();
    ResetBadgeCounters();
}

void DrawingBoard::DeleteAllShapes()
{
    Lock lock(m_lock);
    DeleteShapes();
}

void DrawingBoard::ClearBoard()
{
    Lock lock(m_lock);
    DeleteShapes();
    ClearStack(m_redo);
    ClearStack(m_undo);
}

// ---- undo and redo ----

DrawingBoard::ShapePtr DrawingBoard::CopyShape(const CShapeObj& shape, bool saveCounters)
{
    const std::string cls = shape.GetClassName();
    if (cls == "CPenObj") return ShapePtr(new CPenObj(static_cast<const CPenObj&>(shape)));
    if (cls == "CWaterPenObj")
        return ShapePtr(new CWaterPenObj(static_cast<const CWaterPenObj&>(shape)));
    if (cls == "CSpecialLineObj")
        return ShapePtr(new CSpecialLineObj(static_cast<const CSpecialLineObj&>(shape)));
    if (cls == "CArrowObj") return ShapePtr(new CArrowObj(static_cast<const CArrowObj&>(shape)));
    if (cls == "CInputTextObj")
        return ShapePtr(new CInputTextObj(static_cast<const CInputTextObj&>(shape)));
    if (cls == "CNumObj") {
        auto* copy = new CNumObj(static_cast<const CNumObj&>(shape));
        if (saveCounters) copy->savedCounter = g_nBadgeNumber;
        return ShapePtr(copy);
    }
    if (cls == "CLetterObj") {
        auto* copy = new CLetterObj(static_cast<const CLetterObj&>(shape));
        if (saveCounters) copy->savedCounter = g_chBadgeLetter;
        return ShapePtr(copy);
    }
    return nullptr;
}

DrawingBoard::Snapshot DrawingBoard::CopySnapshot(const Snapshot& snapshot)
{
    Snapshot copy;
    for (const ShapePtr& s : snapshot) copy.push_back(s ? CopyShape(*s, false) : nullptr);
    return copy;
}

void DrawingBoard::PushSnapshot()
{
    Lock lock(m_lock);
    PushSnapshotLocked();
}

void DrawingBoard::PushSnapshotLocked()
{
    if (m_shapes.empty()) return;
    Snapshot snapshot;
    for (const ShapePtr& s : m_shapes) snapshot.push_back(CopyShape(*s, true));
    m_undo.push_back(std::move(snapshot));
}

void DrawingBoard::RestoreSnapshot(const Snapshot& snapshot)
{
    DeleteShapes();
    for (const ShapePtr& s : snapshot) {
        if (!s) continue;
        ShapePtr copy = CopyShape(*s, false);
        if (!copy) continue;
        if (auto* n = dynamic_cast<const CNumObj*>(copy.get())) g_nBadgeNumber = n->savedCounter;
        if (auto* l = dynamic_cast<const CLetterObj*>(copy.get()))
            g_chBadgeLetter = l->savedCounter;
        AppendShape(std::move(copy));
    }
}

void DrawingBoard::Undo()
{
    Lock lock(m_lock);
    if (m_undo.empty()) return;
    m_redo.push_back(CopySnapshot(m_undo.back()));
    m_undo.pop_back();
    if (m_undo.empty())
        DeleteShapes();
    else
        RestoreSnapshot(m_undo.back());
}

void DrawingBoard::Redo()
{
    Lock lock(m_lock);
    if (m_redo.empty()) return;
    m_undo.push_back(CopySnapshot(m_redo.back()));
    m_redo.pop_back();
    RestoreSnapshot(m_undo.back());
}

void DrawingBoard::ClearStack(std::deque<Snapshot>& stack)
{
    stack.clear();
}

void DrawingBoard::ClearRedoStack()
{
    Lock lock(m_lock);
    ClearStack(m_redo);
}

void DrawingBoard::ClearUndoStack()
{
    Lock lock(m_lock);
    ClearStack(m_undo);
}

// ---- reading ----

size_t DrawingBoard::ShapeCount() const
{
    Lock lock(m_lock);
    return m_shapes.size();
}

size_t DrawingBoard::UndoDepth() const
{
    Lock lock(m_lock);
    return m_undo.size();
}

size_t DrawingBoard::RedoDepth() const
{
    Lock lock(m_lock);
    return m_redo.size();
}

void DrawingBoard::ForEachShape(const std::function<void(const CShapeObj&)>& fn) const
{
    Lock lock(m_lock);
    for (const ShapePtr& s : m_shapes) fn(*s);
}

// ---- the line-width menu ----

int LineWidthFromMenuText(const char* text)
{
    if (!text) return 0;
    static const char* const kItems[] = {"1px", "2px", "3px", "4px", "5px"};
    for (int i = 0; i < 5; ++i)
        if (std::strcmp(text, kItems[i]) == 0) return i + 1;
    return 0;
}

bool ApplyLineWidthMenuText(const char* text)
{
    const int width = LineWidthFromMenuText(text);
    return width > 0 && g_drawingBoard.SetCurrentWidth(width);
}
