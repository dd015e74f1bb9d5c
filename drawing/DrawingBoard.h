// The drawing board: the one model behind every drawing surface (graffiti
// over the screen, the whiteboard, the screenshot editor). It holds the
// current tool with a colour and a width per tool, the finished shapes in
// drawing order, the shape being drawn, the rubber band and arrow of a drag,
// and snapshots of the shapes for undo and redo.
//
// Surfaces turn mouse events into BeginShape / TrackShape / FinishShape and
// paint with DrawAllShapes. The board never sees a window.
//
// Threads: every operation takes the board's one lock, so a render thread
// may call DrawAllShapes while the UI thread changes the board. The lock is
// held while the shapes are drawn: draw into a memory bitmap, never into a
// window's DC, so the lock is held for the drawing only.
//
// The finished shapes are kept drawn in a layer of the surface's size, so a
// redraw while the user draws costs one copy of the layer and the shape
// being drawn; a change to a finished shape (erase, undo, redo, removal)
// draws the layer again.
#pragma once

#include "drawing/ShapeObj.h"

#include <windows.h>

#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Gdiplus {
class Graphics;
}

// Tool codes, as the surfaces' tool bars set them.
enum DrawTool : int {
    kToolPen = 0,
    kToolHighlighter = 1,
    kToolRectangle = 2,
    kToolArrow = 3,
    kToolNumber = 4,
    kToolLetter = 5,
    kToolText = 6,
    kToolEraser = 7,
    kToolNone = 8,  // no tool chosen: the mouse does not draw
};

class DrawingBoard {
public:
    DrawingBoard();
    ~DrawingBoard();
    DrawingBoard(const DrawingBoard&) = delete;
    DrawingBoard& operator=(const DrawingBoard&) = delete;

    // ---- tool, colours and widths ----
    int GetTool() const;
    // A code outside 0..8 changes nothing.
    void SetTool(int tool);
    // Which tools have a colour (pen to text) and a width (pen to letter).
    static bool HasColour(int tool);
    static bool HasWidth(int tool);
    // 0 for a tool that has none.
    COLORREF GetColour(int tool) const;
    int GetWidth(int tool) const;
    // False, and nothing changes, for a tool that has none (and for a width
    // below 1).
    bool SetColour(int tool, COLORREF colour);
    bool SetWidth(int tool, int width);
    COLORREF GetCurrentColour() const { return GetColour(GetTool()); }
    int GetCurrentWidth() const { return GetWidth(GetTool()); }
    bool SetCurrentColour(COLORREF colour);
    bool SetCurrentWidth(int width);

    // ---- a mouse gesture: button down, moves, button up ----
    // width and colour are the current tool's; pen, highlighter, arrow and
    // badges use them. Starting to draw clears the redo stack (the eraser
    // does not: erasing is undone like any step but leaves what was undone
    // to redo). Tools that draw nothing (text, none) start no gesture.
    void BeginShape(const POINT& pt, int width, COLORREF colour);
    void TrackShape(const POINT& pt);
    // Finishes the gesture's shape (four lines for a rectangle, an erase
    // pass for the eraser) and saves a snapshot for undo.
    void FinishShape();
    bool IsDrawing() const;

    // Typed text at (x, y) in the current tool's colour (the text tool's
    // when the current tool has none). A step of its own: it clears the
    // redo stack and saves a snapshot, so undo and redo keep typed text.
    void AddTextShape(const std::string& text, int x, int y);
    // The board owns the shape from here on; null is ignored.
    void AddShape(CShapeObj* shape);
    // A piece of a stroke the eraser cuts (the stroke's kept part up to the
    // cut), appended to the shapes.
    void AddStrokePiece(CShapeObj* stroke, int cutX, int cutY, int lastRemovedX,
                        int lastRemovedY);
    // Deletes a shape of the board; nothing when it is not on the board.
    void RemoveShape(CShapeObj* shape);
    // The first shape, in drawing order, that a click at (x, y) hits (typed
    // text only), or null. The pointer is good until the board next changes.
    CShapeObj* HitShape(int x, int y);

    // Cuts away what lies inside the rectangle; shapes a former pass
    // emptied are deleted.
    void EraseShapesInRect(RECT eraser);

    // The drag's rubber band or arrow, then every shape, later ones on top.
    // With an unscaled surface whose visible area starts at (0, 0) the
    // finished shapes come from the layer.
    void DrawAllShapes(Gdiplus::Graphics& g);

    // Every shape goes and the badge counters restart; undo and redo stay.
    void DeleteAllShapes();
    // Every shape, the redo and the undo stack go; the counters restart.
    void ClearBoard();

    // A copy of the shapes onto the undo stack (nothing for an empty board).
    void PushSnapshot();
    void Undo();
    void Redo();
    void ClearRedoStack();
    void ClearUndoStack();

    // ---- reading the board ----
    size_t ShapeCount() const;
    size_t UndoDepth() const;
    size_t RedoDepth() const;
    // Calls fn on each shape in drawing order, under the lock (fn must not
    // call the board).
    void ForEachShape(const std::function<void(const CShapeObj&)>& fn) const;

private:
    using ShapePtr = std::unique_ptr<CShapeObj>;
    using Snapshot = std::list<ShapePtr>;

    // The unlocked bodies; the public operations lock and call these.
    void AppendShape(ShapePtr shape);
    void DeleteShapes();
    void PushSnapshotLocked();
    void RestoreSnapshot(const Snapshot& snapshot);
    static ShapePtr CopyShape(const CShapeObj& shape, bool saveCounters);
    static Snapshot CopySnapshot(const Snapshot& snapshot);
    static void ClearStack(std::deque<Snapshot>& stack);
    // How many shapes, from the first, are finished (all but the one being
    // drawn).
    size_t FinishedCount() const;
    // Brings the layer to the finished shapes for a surface of w x h; false
    // when the layer cannot serve it.
    bool UpdateLayer(int w, int h, size_t finished);
    void DropLayer();

    // Recursive: an erase pass hands the pieces it cuts back to the board.
    mutable std::recursive_mutex m_lock;
    // The last rectangle finished with the rectangle or eraser tool; cuts
    // of strokes are measured against it.
    RECT m_eraser = {0, 0, 0, 0};
    int m_tool = kToolNone;
    std::list<ShapePtr> m_shapes;
    std::deque<Snapshot> m_undo;
    std::deque<Snapshot> m_redo;
    // The pen, highlighter or badge being drawn (also in m_shapes), or null.
    CShapeObj* m_current = nullptr;
    bool m_drawing = false;
    // The tool the gesture began with: changing tools mid-drag does not
    // change what the drag makes.
    int m_gestureTool = kToolNone;
    COLORREF m_colours[7];
    int m_widths[6];
    std::unique_ptr<CRectTempObj> m_tempRect;
    std::unique_ptr<CArrowObj> m_tempArrow;

    // The first m_layerShapes shapes drawn on transparent premultiplied
    // ARGB pixels, top-down. Plain memory, so no GDI+ object outlives
    // GDI+ at the end of the program.
    std::vector<UINT32> m_layer;
    int m_layerWidth = 0;
    int m_layerHeight = 0;
    size_t m_layerShapes = 0;
    bool m_layerValid = false;
};

extern DrawingBoard g_drawingBoard;

// The width a line-width menu item names: "1px" .. "5px" give 1 .. 5, any
// other text 0.
int LineWidthFromMenuText(const char* text);
// Sets the board's current tool's width from a menu item's text. False
// when the text names no width or the tool has none.
bool ApplyLineWidthMenuText(const char* text);
