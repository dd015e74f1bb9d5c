// The shapes a user puts on a canvas: free-hand pen and highlighter
// strokes, straight lines (a finished rectangle leaves four), the dashed
// rubber band of the rectangle and eraser tools, arrows, number and letter
// badges and typed text. Each draws itself on a GDI+ surface, takes the
// mouse's points and cuts away what an eraser rectangle covers.
//
// The drawing board (DrawingBoard.h) creates, copies and deletes them and
// serialises every use; a shape on its own is not thread-safe. Only Draw
// needs GDI+ (ShapeDraw.cpp); the rest is plain geometry.
#pragma once

#include <windows.h>

#include <list>
#include <string>

namespace Gdiplus {
class Graphics;
}

class DrawingBoard;

// The badge counters: the last number and letter handed out. A new badge
// takes the next one; erasing the newest badge gives its value back.
extern int g_nBadgeNumber;
extern unsigned char g_chBadgeLetter;  // 0x40, the code just below 'A', when reset
void ResetBadgeCounters();

class CShapeObj {
public:
    virtual ~CShapeObj() = default;

    // Paints the shape. A failed GDI+ call leaves its status in the graphics
    // object and nothing else.
    virtual void Draw(Gdiplus::Graphics& g) = 0;
    virtual void AddPoint(const POINT& pt) = 0;
    virtual bool HitTest(int x, int y) const = 0;
    virtual void ClearPoints();
    // Removes what lies inside the eraser; parts cut off the shape go to the
    // board that erases (AddShape, AddStrokePiece).
    virtual void Erase(const RECT& eraser, DrawingBoard& board) = 0;
    // Append the points strictly between from and to: along the line
    // between them (one per x), along from's row, along from's column.
    virtual void InterpolateLine(const POINT& from, const POINT& to);
    virtual void InterpolateHorizontal(const POINT& from, const POINT& to);
    virtual void InterpolateVertical(const POINT& from, const POINT& to);
    // The class's name, by which the board copies a shape.
    virtual std::string GetClassName() const = 0;

    const std::list<POINT>& Points() const { return m_points; }
    COLORREF GetColour() const { return m_colour; }
    int GetWidth() const { return m_width; }

protected:
    CShapeObj(COLORREF colour, int width) : m_colour(colour), m_width(width) {}
    CShapeObj(const CShapeObj&) = default;
    CShapeObj& operator=(const CShapeObj&) = delete;

    std::list<POINT> m_points;
    COLORREF m_colour = 0;
    int m_width = 0;
};

// A free-hand stroke: a smooth curve through its points.
class CPenObj : public CShapeObj {
public:
    CPenObj(const POINT& first, int width, COLORREF colour);
    // The part of source up to cut (see StrokePiecePoints), in source's
    // colour and width.
    CPenObj(const CPenObj& source, int cutX, int cutY, int lastRemovedX, int lastRemovedY,
            const RECT& eraser);
    CPenObj(const CPenObj&) = default;

    void Draw(Gdiplus::Graphics& g) override;
    void AddPoint(const POINT& pt) override;
    bool HitTest(int x, int y) const override { return false; }
    void Erase(const RECT& eraser, DrawingBoard& board) override;
    std::string GetClassName() const override { return "CPenObj"; }

protected:
    // For the straight line, which brings its own two points.
    CPenObj(int width, COLORREF colour) : CShapeObj(colour, width) {}
};

// A highlighter stroke: as the pen, half transparent and rounder.
class CWaterPenObj : public CShapeObj {
public:
    CWaterPenObj(const POINT& first, int width, COLORREF colour);
    CWaterPenObj(const CWaterPenObj& source, int cutX, int cutY, int lastRemovedX,
                 int lastRemovedY, const RECT& eraser);
    CWaterPenObj(const CWaterPenObj&) = default;

    void Draw(Gdiplus::Graphics& g) override;
    void AddPoint(const POINT& pt) override;
    bool HitTest(int x, int y) const override { return false; }
    void Erase(const RECT& eraser, DrawingBoard& board) override;
    std::string GetClassName() const override { return "CWaterPenObj"; }
};

// A straight line of two points; the rectangle tool leaves four.
class CSpecialLineObj : public CPenObj {
public:
    CSpecialLineObj(int x1, int y1, int x2, int y2, int width, COLORREF colour);
    CSpecialLineObj(const CSpecialLineObj&) = default;

    void Erase(const RECT& eraser, DrawingBoard& board) override;
    std::string GetClassName() const override { return "CSpecialLineObj"; }
};

// The dashed rectangle shown while the rectangle or eraser tool drags; it
// is never stored on the board.
class CRectTempObj : public CShapeObj {
public:
    CRectTempObj(const POINT& start, int width, COLORREF colour);

    void Draw(Gdiplus::Graphics& g) override;
    // Moves the second corner; the rectangle stays normalised.
    void AddPoint(const POINT& pt) override;
    bool HitTest(int x, int y) const override { return false; }
    void Erase(const RECT&, DrawingBoard&) override {}
    std::string GetClassName() const override { return "CRectTempObj"; }

    const RECT& Rect() const { return m_rect; }

private:
    POINT m_start;
    RECT m_rect;
};

// An arrow. While it is dragged its ends are start and end and its point
// list is empty; a finished arrow keeps them as its two points.
class CArrowObj : public CShapeObj {
public:
    CArrowObj(const POINT& start, int width, COLORREF colour);
    CArrowObj(int x1, int y1, int x2, int y2, int width, COLORREF colour);
    CArrowObj(const CArrowObj&) = default;

    void Draw(Gdiplus::Graphics& g) override;
    // Moves the end.
    void AddPoint(const POINT& pt) override;
    bool HitTest(int x, int y) const override { return false; }
    void Erase(const RECT& eraser, DrawingBoard& board) override;
    std::string GetClassName() const override { return "CArrowObj"; }

    const POINT& Start() const { return m_start; }
    const POINT& End() const { return m_end; }

    // The arrow every arrow draws: a 3-pixel shaft from start to the
    // filled head at tip, in an opaque colour. Nothing when they coincide.
    static void DrawArrow(Gdiplus::Graphics& g, const POINT& start, const POINT& tip,
                          COLORREF colour);

private:
    POINT m_start;
    POINT m_end;
};

// A numbered badge: a translucent circle with the number in white. It
// takes the next number when made.
class CNumObj : public CShapeObj {
public:
    CNumObj(const POINT& at, int width, COLORREF colour);
    CNumObj(const CNumObj&) = default;

    void Draw(Gdiplus::Graphics& g) override;
    void AddPoint(const POINT&) override {}
    bool HitTest(int x, int y) const override { return false; }
    void Erase(const RECT& eraser, DrawingBoard& board) override;
    std::string GetClassName() const override { return "CNumObj"; }

    const std::string& Text() const { return m_text; }
    // The number counter when the board last saved this badge.
    int savedCounter = 0;

private:
    POINT m_centre = {0, 0};
    std::string m_text;
};

// A lettered badge: as the number badge, with the next letter.
class CLetterObj : public CShapeObj {
public:
    CLetterObj(const POINT& at, int width, COLORREF colour);
    CLetterObj(const CLetterObj&) = default;

    void Draw(Gdiplus::Graphics& g) override;
    void AddPoint(const POINT&) override {}
    bool HitTest(int x, int y) const override { return false; }
    void Erase(const RECT& eraser, DrawingBoard& board) override;
    std::string GetClassName() const override { return "CLetterObj"; }

    const std::string& Text() const { return m_text; }
    unsigned char savedCounter = 0;

private:
    POINT m_centre = {0, 0};
    std::string m_text;
};

// Typed text (system code page) with its top-left corner at (x, y). It is
// hit where it was last drawn; before its first drawing nothing hits it.
class CInputTextObj : public CShapeObj {
public:
    CInputTextObj(int x, int y, const char* text, COLORREF colour);
    CInputTextObj(const CInputTextObj&) = default;

    void Draw(Gdiplus::Graphics& g) override;
    void AddPoint(const POINT&) override {}
    bool HitTest(int x, int y) const override;
    void Erase(const RECT&, DrawingBoard&) override {}
    std::string GetClassName() const override { return "CInputTextObj"; }

    std::string GetText() const { return m_text; }
    int X() const { return m_x; }
    int Y() const { return m_y; }
    const RECT& Bounds() const { return m_bounds; }

private:
    int m_x;
    int m_y;
    std::string m_text;
    RECT m_bounds = {0, 0, 0, 0};
};
