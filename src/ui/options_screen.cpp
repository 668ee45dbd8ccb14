// The options screen's input and drawing.
#include "ui/options_screen.h"

#include <cstdio>

#include "game/base/controls.h"
#include "game/base/file_save.h"
#include "game/base/lang.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/settings/options.h"
#include "game/settings/settings_write.h"
#include "render/atlas.h"
#include "render/draw.h"
#include "ui/bars.h"
#include "ui/options_layout.h"

// ScreenOrtho units; the rest in ui/options_layout.h.
static const float ArrowOffset = 80;         // "<" and ">" either side of a value's centre
static const float CellHeight = 22;          // the lit cell's panel, inside
static const float CellRaise = 6;            // the text's top above the cell's inner top
static const float FramePad = 4;             // a lit cell's frame outside its inner rectangle
static const float FrameLines = 2;           // nested outlines, one unit apart, for a bolder frame
static const float LitCellColour[4] = {1.0f, 0.82f, 0.35f, 1};   // the highlight panel's gold
static const float LitRowColour[4] = {0.55f, 0.65f, 0.9f, 1};    // the row of a lit cell
static const float HitLeft = -470;           // a row answers the pointer from here ...
static const float HitRight = 470;           // ... to here
static const int MoreTextSize = 48;
static const int NoteTextSize = 160;
static const int PageRows = 6;               // Page Up / Down move this many rows

static_assert(OptionLayoutColumns == OptionColumns, "a place for every column");

static char CellText[OptionTextSize];

static float ListTop()
{
  return -ScreenOrthoHalfHeight() + ListBelowTop;
}

static int VisibleRows()
{
  int rows = (int)((2 * ScreenOrthoHalfHeight() - ListBelowTop - FootAboveBottom - OptionRowStep) / OptionRowStep);
  return rows < 1 ? 1 : rows;
}

static void ShowLitRow()
{
  int visible = VisibleRows();
  if (Options.firstRow > Options.row)
    Options.firstRow = Options.row;
  if (Options.firstRow < Options.row - (visible - 1))
    Options.firstRow = Options.row - (visible - 1);
  if (Options.firstRow > OptionRowCount - visible)
    Options.firstRow = OptionRowCount - visible;
  if (Options.firstRow < 0)
    Options.firstRow = 0;
}

static void MoveRow(int step)
{
  int row = Options.row + step;
  Options.row = row < 0 ? 0 : (row > OptionRowCount - 1 ? OptionRowCount - 1 : row);
  if (Options.column >= OptionCells(Options.row))
    Options.column = 0;
  ShowLitRow();
}

// The ortho point under the pointer.
static void PointerPoint(float* x, float* y)
{
  float half = ScreenOrthoHalfHeight();
  *x = ScreenWidth > 0 ? (Controls.pointerX / ScreenWidth * 2 - 1) * half * AspectRatio : 0;
  *y = ScreenHeight > 0 ? (Controls.pointerY / ScreenHeight * 2 - 1) * half : 0;
}

// The visible row under the pointer and its column; false when it is over
// none, or over the column heads beside "Restore defaults".
static bool PointerCell(int* row, int* column, float* x)
{
  float y;
  PointerPoint(x, &y);
  float k = (y - ListTop() + (OptionRowStep - CellHeight) / 2) / OptionRowStep;
  if (*x < HitLeft || *x > HitRight || k < 0 || k >= VisibleRows())
    return false;
  *row = Options.firstRow + (int)k;
  *column = 0;
  for (int c = 1; c < OptionCells(*row); c++)
    if (*x >= ColumnCentre[c] - ColumnWidth / 2)
      *column = c;
  bool overHeads = *row == optrow_defaults && *x >= ColumnCentre[0] - ColumnWidth / 2;
  return *row < OptionRowCount && !overHeads;
}

static void PointerInput()
{
  int row, column;
  float x;
  bool over = PointerCell(&row, &column, &x);
  if (over && (Controls.pointerMoved || Controls.pointerClick)) {
    if (row != Options.row || column != Options.column)
      PushSound(sound_menu_move);
    Options.row = row;
    Options.column = column;
  }
  if (!over || !Controls.pointerClick)
    return;
  bool stepped = row == optrow_sound || row == optrow_music || row == optrow_speed || row == optrow_language;
  if (stepped)
    StepOption(row, x < ColumnCentre[0] ? -1 : 1);
  else
    ChooseOption(row, column);
}

static void ListKeys()
{
  int step = (int)Controls.menuDown - (int)Controls.menuUp;
  step += (Controls.pageDown - Controls.pageUp) * PageRows + Controls.wheelSteps;
  if (Controls.listHome)
    step = -OptionRowCount;
  if (Controls.listEnd)
    step = OptionRowCount;
  if (step) {
    MoveRow(step);
    PushSound(sound_menu_move);
  }
  int side = (int)Controls.menuRight - (int)Controls.menuLeft;
  if (side && Options.row < OptionSettingRows) {
    StepOption(Options.row, side);
  } else if (side) {
    int column = Options.column + side;
    Options.column = column < 0 ? 0 : (column >= OptionColumns ? OptionColumns - 1 : column);
    PushSound(sound_menu_move);
  }
  if (Controls.menuChoose)
    ChooseOption(Options.row, Options.column);
}

static void Leave()
{
  PushSound(sound_menu_back);
  if (Options.overPause)
    Options.overPause = false;
  else
    RequestScreen(gamestate_title);
}

void OptionsInput()
{
  if (Options.waiting) {
    TakeChosenKey(Controls.keyChosen, Controls.padButtonChosen);
    return;
  }
  if (Controls.menuBack || (Options.overPause && Controls.pauseToggle)) {
    Leave();
    return;
  }
  ListKeys();
  PointerInput();
  ShowLitRow();
}

static float TextCentreStart(const char* text, float centre, float size)
{
  return centre - TextWidth(text, size) / 2;
}

// The size, size at most and smallest at least, at which text spans width.
static float FittingSize(const char* text, float size, float smallest, float width)
{
  float wide = TextWidth(text, size);
  if (wide <= width)
    return size;
  return size * width / wide > smallest ? size * width / wide : smallest;
}

// An outline around the inner rectangle (x, y, w, h), a few units outside it.
static void DrawFrame(float x, float y, float w, float h, const float* rgba)
{
  for (float k = 0; k < FrameLines; k++) {
    float l = x - FramePad - k, t = y - FramePad - k, r = x + w + FramePad + k, b = y + h + FramePad + k;
    const float lines[] = {l, t, r, t, r, t, r, b, r, b, l, b, l, b, l, t};
    DrawPlainLines(lines, 4, rgba);
  }
}

// A cell of the row, lit with a frame when it is the lit one.
static void DrawCell(int row, int column, float top)
{
  bool lit = row == Options.row && (column == Options.column || row < OptionSettingRows);
  if (lit)
    DrawFrame(ColumnCentre[column] - ColumnWidth / 2, top, ColumnWidth, CellHeight, LitCellColour);
  OptionValueText(row, column, CellText, sizeof CellText);
  if (lit && Options.waiting)
    snprintf(CellText, sizeof CellText, "%s", "...");
  float size = FittingSize(CellText, RowTextSize, CellMinSize, ColumnWidth);
  FitTextToWidth(CellText, ColumnWidth, size);
  DrawText(TextCentreStart(CellText, ColumnCentre[column], size), top - CellRaise, CellText, size);
  bool stepped = row == optrow_sound || row == optrow_music || row == optrow_speed || row == optrow_language;
  if (stepped) {
    DrawText(ColumnCentre[0] - ArrowOffset, top - CellRaise, "<", RowTextSize);
    DrawTextRight(">", ColumnCentre[0] + ArrowOffset, top - CellRaise, RowTextSize);
  }
}

static void DrawRows()
{
  for (int k = 0; k < VisibleRows() && Options.firstRow + k < OptionRowCount; k++) {
    int row = Options.firstRow + k;
    float top = ListTop() + k * OptionRowStep;
    if (row == Options.row)   // a row of cells lights its name too; "Restore defaults" has only its name
      DrawFrame(LabelFrameLeft, top, LabelFrameWidth, CellHeight,
                row == optrow_defaults ? LitCellColour : LitRowColour);
    DrawText(LabelLeft + LabelInset, top - CellRaise, Tr(OptionLabel(row)), RowTextSize);
    for (int c = 0; c < OptionCells(row); c++)
      DrawCell(row, c, top);
    if (row == optrow_defaults)   // the heads of the control rows' columns below
      for (int c = 0; c < OptionColumns; c++) {
        const char* head = Tr(OptionColumnHead(c));
        DrawText(TextCentreStart(head, ColumnCentre[c], HeadSize), top - CellRaise, head, HeadSize);
      }
  }
}

void OptionsFootText(char* out, int size)
{
  if (Options.waiting)
    snprintf(out, size, Options.column == OptionPadColumn ? Tr("Press a pad button for %s (Escape cancels)")
                                                          : Tr("Press a key for %s (Escape cancels)"),
             Tr(OptionLabel(Options.row)));
  else if (Options.note == optnote_not_saved)
    snprintf(out, size, Tr("Not saved, kept until the game ends: %s"),
             Tr(Options.saveError < 0 ? SettingsWriteFailure() : SaveFailureReason(Options.saveError)));
  else if (Options.note == optnote_last_key)
    snprintf(out, size, "%s", Tr("Not changed: that key is another action's only key"));
  else if (Options.note == optnote_restored)
    snprintf(out, size, "%s", Tr("Every option is back to its default"));
  else
    snprintf(out, size, "%s", Tr("Press B to go back"));
}

static void DrawFoot()
{
  static char note[NoteTextSize];
  OptionsFootText(note, sizeof note);
  float size = FittingSize(note, FootSize, FootMinSize, FootWidth);
  FitTextToWidth(note, FootWidth, size);
  DrawText(LabelLeft, ScreenOrthoHalfHeight() - FootAboveBottom, note, size);
}

void DrawOptions()
{
  ScreenOrtho();
  float half = ScreenOrthoHalfHeight();
  DrawQuad(AtlasBackground, 0, 0, 2 * half * AspectRatio, 2 * half, 0);
  DrawText(LabelLeft, -half + HeadingBelowTop, Tr("Options"), HeadingSize);
  char more[MoreTextSize];
  int below = OptionRowCount - Options.firstRow - VisibleRows();
  if (Options.firstRow > 0) {
    snprintf(more, sizeof more, TrN("%i more above", "%i more above", Options.firstRow), Options.firstRow);
    DrawTextRight(more, -LabelLeft, -half + HeadingBelowTop, FootSize);
  }
  if (below > 0) {
    snprintf(more, sizeof more, TrN("%i more below", "%i more below", below), below);
    DrawTextRight(more, -LabelLeft, half - FootAboveBottom, FootSize);
  }
  DrawRows();
  DrawFoot();
}

void OptionsFrame()
{
  OptionsInput();
  DrawOptions();
}
