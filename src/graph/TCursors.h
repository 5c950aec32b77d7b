#pragma once

#include "graph/TCursorReadout.h"
#include "graph/TOsaX.h"
#include "graph/TOsaY.h"

#include <QRect>

#include <functional>
#include <memory>
#include <vector>

class TAnGraph;
class TDoubleArray;
class TMereni;
struct TPointValues;
class TSmithLink;

// A vertical frequency cursor: cursor 1 and 2, which the user drags, and the minimum-SWR
// cursor (Index 0), which the sweep evaluation places. It stands on a raster column, so its
// frequency is known exactly, and shows the measured point there in its readout row.
class TFrekvence : public TOsaY
{
public:
    // ARow is the readout row (a link; may be null); it is reset here.
    TFrekvence(TCanvas *ACanvas, TCursorReadout *ARow);
    ~TFrekvence() override;

    // Told the cursor frequency in kHz (link; may be empty).
    TSmithLink *SmithFrame = nullptr;
    // Absolute pixel column; 0 = not placed.
    int X = 0;
    // 0 minimum-SWR cursor, 1 cursor 1, 2 cursor 2.
    int Index = 0;
    // MHz; 0 = not placed.
    double Frequency = 0.0;
    // The axes of the last Draw (links).
    const TOsaX *OsaX = nullptr;
    const TOsaY *OsaY = nullptr;
    const TOsaFRQ *OsaFRQ = nullptr;
    // The sweep whose points the readout shows (link).
    TMereni *Mereni = nullptr;
    // The raster the cursor stands on (link; without it the cursor has no frequency).
    const TRastrFr *GraphRaster = nullptr;
    // The measured point the cursor stands on, -1 when it reads the point at its column.
    // The minimum-SWR cursor stands on the minimum itself: its row shows that point and its
    // exact frequency, which the column's frequency may miss by a fraction of a step.
    int Point = -1;
    // The readout row (a link, owned by whoever made it); may be null, then nothing is shown.
    TCursorReadout *Readout = nullptr;
    // The other draggable cursor (link); empty for the minimum-SWR cursor.
    TFrekvence *Partner = nullptr;
    // Told the frequency distance of the two cursors.
    std::function<void(double Difference)> OnDifference;

    // Places the cursor at absolute column AtX, draws it with the not-xor pen, takes the
    // column's frequency and updates the readout.
    void Draw(int AtX, const TOsaX *AOsaX, const TOsaFRQ *AOsaFRQ, const TOsaY *AOsaY);
    // Draws the cursor again at the column of its frequency, if visible and placed.
    void Redraw();
    // Every field of the row reads "E": the cursor stands on no measured point.
    void ShowNoPoint();
    // Every value field of the row reads "E"; the frequency and bandwidth stay.
    void ShowInvalidValues();
    bool IsPlaced() const;

    // Bandwidth and Q between this cursor and its partner, shown in the partners' rows.
    void ShowDifference();

    // Index of the measured point at or below F in the increasing series Frequencies.
    static int PointIndexAt(const TDoubleArray &Frequencies, double F);
    // The impedance-mode fields of a row for the point R + jX at F (MHz), whose values
    // against Z0 are Values; any row, a cursor's or another that reads points the same way.
    static void ShowPointValues(
        TCursorReadout &Row, double R, double X, double F, const TPointValues &Values);
    // Every value field of Row reads "E".
    static void ShowNoValues(TCursorReadout &Row);

    // Whether the cursor's not-xor figure is on the layer now; whoever fills the layer
    // clears it (TCursors::ClearLayer).
    bool OnLayer = false;
    // What the last Draw covered: the figure, and its label apart (a label beside a
    // narrow figure would make one bounding box five times its width).
    QRect DrawnArea;
    QRect LabelArea;

private:
    void UpdateReadout();
    void DrawFigure(int AtX, int Bottom);
    int DrawnX = 0;
    int DrawnBottom = 0;
};

// The horizontal line that follows the mouse row while cursor 1 or 2 is dragged.
class TOsaHorizont : public TOsaX
{
public:
    explicit TOsaHorizont(TCanvas *ACanvas);

    // Pixel row; 0 = not placed.
    int Y = 0;
    const TOsaX *OsaX = nullptr;
    const TOsaY *OsaY = nullptr;
    int Index = 0;
    TOsaHorizont *Partner = nullptr;

    // Rows outside the plot are ignored and keep the previous row.
    void Draw(int AtY, const TOsaX *AOsaX, const TOsaY *AOsaY);
    void Redraw();

    // As TFrekvence::OnLayer and DrawnArea.
    bool OnLayer = false;
    QRect DrawnArea;

private:
    void DrawFigure(int AtY, int Right);
    int DrawnY = 0;
    int DrawnRight = 0;
};

// Redraws the cursor layer when a cursor moves.
class TCursors
{
public:
    TCursors(TAnGraph *AGraph, TFrekvence *ACursor1, TFrekvence *ACursor2, TFrekvence *ACursorMin,
        TOsaHorizont *AHorizontal1, TOsaHorizont *AHorizontal2, const TOsaX *AOsaX,
        const TOsaY *AOsaY, const TOsaFRQ *AOsaFRQ);

    TAnGraph *Graph;
    TFrekvence *Cursor1;
    TFrekvence *Cursor2;
    TFrekvence *CursorMin;
    TOsaHorizont *Horizontal1;
    TOsaHorizont *Horizontal2;
    const TOsaX *OsaX;
    const TOsaY *OsaY;
    const TOsaFRQ *OsaFRQ;

    // In cable-length mode a dragged cursor near a local maximum or minimum of |Z| stands on
    // that extremum of the measured (unsmoothed) points, so lengths come from the true
    // resonances. The graph frame turns it off while Shift is held.
    bool SnapToPeaks = true;
    // The extremum of |Z| a cursor dragged to point Near snaps to: the raw points' maximum or
    // minimum within SnapReach points, if it lies strictly inside that window; else -1.
    static int PeakNear(const TMereni &Sweep, int Near);
    static constexpr int SnapReach = 3;

    // One drag step of cursor 1 or 2 to column X and row Y.
    void MoveCursor1(int AtX, int AtY);
    void MoveCursor2(int AtX, int AtY);
    // The placed cursors and lines, without clearing the layer and without presenting. A
    // figure still on the layer is moved, never drawn twice.
    void RedrawCursors();
    // Fills the cursor layer white: no cursor or line is on it any more.
    void ClearLayer();
    // The same for a layer that holds only the figures: only what they cover is filled, and
    // added to Areas.
    void EraseFigures(std::vector<QRect> &Areas);
    // What the figures on the layer cover; outside it the layer is white.
    std::vector<QRect> FigureAreas() const;
    bool GetShowCursors();
    void SetShowCursors(bool Value);

private:
    void MoveCursor(TFrekvence *Moved, TOsaHorizont *MovedLine, TFrekvence *Other,
        TOsaHorizont *OtherLine, int AtX, int AtY);
};

// The marked frequency bands, shaded in the picture.
class TOzn
{
public:
    struct TBand
    {
        double Lower;
        double Upper;
    };

    TOzn(const TOsaX *AOsaX, const TOsaY *AOsaY, const TOsaFRQ *AOsaFRQ, const TFrekvence *ACursor1,
        const TFrekvence *ACursor2);

    const TOsaX *OsaX;
    const TOsaY *OsaY;
    const TOsaFRQ *OsaFRQ;
    const TFrekvence *Cursor1;
    const TFrekvence *Cursor2;
    // The raster the bands are mapped through (link).
    const TRastrFr *GraphRaster = nullptr;

    // A band that covers an existing one replaces it; one inside an existing band changes
    // nothing; any other is appended.
    void AddBand(double F1, double F2);
    void AddCursorBand();
    void RemoveLastBand();
    void ClearBands();
    int BandCount() const;
    const TBand &Band(int I) const;
    // Absolute columns of band I's ends; -1 for an end outside the current range.
    void BandColumns(int I, int &Left, int &Right) const;

private:
    std::vector<TBand> Bands;
};
