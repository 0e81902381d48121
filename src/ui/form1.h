#pragma once

// The one window of the program: every control by its name and index, the
// variables that the handlers share, and the handlers themselves. Nothing here
// knows about Qt; the Qt window draws a Form1 and feeds it events.

#include <cstdint>
#include <memory>
#include <string>

#include "figure/figure_state.h"
#include "ui/controls.h"
#include "ui/form_host.h"

namespace heikosen {

// Mouse buttons as the canvas handlers see them.
enum : std::int16_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
// Every button the canvas takes: a pointer's other buttons (back, forward) are
// none of its.
inline constexpr int kCanvasButtons = kLeftButton | kRightButton | kMiddleButton;

// What lies under a point of the canvas, topmost first.
struct CanvasHit {
    enum class Kind { Canvas, Label2, Label3, Label5, Image1 };
    Kind kind = Kind::Canvas;
    int index = 0;
    bool operator==(const CanvasHit&) const = default;
};

// The keys that the canvas takes while it has the focus; the letters in the
// order of kHandlesInKeyOrder.
enum class CanvasKey { Left, Up, Right, Down, Space, Escape, P, Q, L, M, C };

inline constexpr int kClientWidth = 891;
inline constexpr int kClientHeight = 687;
// Where the canvas lies on the form.
inline constexpr Bounds kCanvasBounds{8, 48, 806, 630};

class Form1 {
  public:
    Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    Form1(Form1&&) = delete;
    Form1& operator=(Form1&&) = delete;
    ~Form1() = default;

    // --- The window ---
    std::string Caption = "Form1";
    int ScaleMode = 1;
    Rgb BackColor = kLightGreen;

    // --- Controls on the window ---
    LabelControl Label1;                       // the title "相似と比"
    ControlArray<LabelControl, 0, 1> Label4;   // "太字", "細字": the rows of pen options
    CommandButton Command1;                    // 初期画面
    CommandButton Command2;                    // 終了
    CommandButton Command3;                    // メモ
    CommandButton Command4;                    // 方眼
    CommandButton Command5;                    // 直線
    CommandButton Command6;                    // 印刷
    ControlArray<OptionButton, 0, 7> Option1;  // pens: (0..3) thin, (4..7) thick; 3, 7 erase
    ControlArray<OptionButton, 0, 3> Option2;  // marker line colours: red, green, blue, white
    ControlArray<CheckBox, 0, 4> Check1;       // "1".."5": the marker lines Line4(0..4)
    PictureBox gamen;                          // the canvas

    // --- Controls on the canvas ---
    LabelControl Label5;                    // the pupil's name, set by printing
    ShapeControl Shape1;                    // the eraser outline
    ControlArray<LineControl, 0, 4> Line1;  // (0..2) the parallels p, q, r; (3, 4) ℓ and m
    ControlArray<LineControl, 0, 2> Line2;  // (0) the copy of m; (1, 2) the extensions of ℓ and m
    ControlArray<LineControl, 0, 5> Line3;  // the arrow marks: (2k, 2k + 1) on parallel k
    ControlArray<LineControl, 0, 4> Line4;  // the marker lines of the straight-line tool
    LineArray Line5;                        // the horizontal grid lines, y = 25 k
    LineArray Line6;                        // the vertical grid lines, x = 25 k
    ControlArray<LabelControl, 0, 5> Label2;  // the points Ａ, Ｂ, Ｃ, Ａ', Ｂ', Ｃ'
    ControlArray<LabelControl, 1, 1> Label3;  // Ｇ
    ControlArray<ImageControl, 0, 4> Image1;  // the letters ℓ, m, p, q, r

    // --- Form-level variables ---
    FigureState fig;
    std::int16_t grabbedHandle = 0;
    float lastX = 0;
    float lastY = 0;
    std::int16_t memoMode = 0;
    std::int16_t penDown = 0;
    std::int16_t penColor = 0;
    std::int16_t lineMode = 0;
    std::int16_t lineDrawing = 0;
    std::int16_t lineSlot = 0;
    std::int16_t lineColor = 0;
    std::int16_t gridShown = 0;
    std::int16_t extension1Shown = 0;
    std::int16_t extension2Shown = 0;

    // --- Services ---
    void setHost(FormHost* host) { host_ = host; }
    FormHost* host() const { return host_; }
    // Installs the measurer that auto-sized labels use and re-measures them.
    void setTextMeasurer(const TextMeasurer* measurer);
    bool endRequested() const { return endRequested_; }

    // --- Events of the window and its controls, by the file that handles them ---
    // app/startup.cpp
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    // figure/initial_screen.cpp: restores the initial figure and switches every tool off.
    void ShowInitialScreen();
    // figure/mouse.cpp
    void gamen_MouseDown(int button, int shift, float x, float y);
    void gamen_MouseMove(int button, int shift, float x, float y);
    void gamen_MouseUp(int button, int shift, float x, float y);
    // tools/memo.cpp
    void Command3_Click();
    void Option1_Click(int index);
    // tools/line_tool.cpp
    void Command5_Click();
    void Option2_Click(int index);
    void Check1_Click(int index);
    // tools/grid_and_pictures.cpp
    void Command4_Click();
    void Image1_Click(int index);
    // printing/print_command.cpp
    void Command6_Click();
    // The second half of "印刷", once the name is known: puts it on the canvas
    // and prints; an empty name prints nothing. Command6_Click asks the host for
    // the name and comes here; a host whose dialog answers later comes here then.
    void printWithName(const std::string& name);

    // --- Reached through the form (ui/form1.cpp) ---
    // The command buttons by number: 1..kCommandCount for Command1..Command6.
    static constexpr int kCommandCount = 6;
    CommandButton& command(int number);
    const CommandButton& command(int number) const;
    // The straight marker lines and the check box that takes each away again:
    // marker k is Line4(k), its box Check1(k).
    static constexpr int kMarkerCount = decltype(Line4)::size();
    static_assert(decltype(Check1)::size() == kMarkerCount, "one check box for each marker line");
    LineControl& markerLine(int k) { return Line4(k); }
    const LineControl& markerLine(int k) const { return Line4(k); }
    CheckBox& markerBox(int k) { return Check1(k); }
    const CheckBox& markerBox(int k) const { return Check1(k); }

    // What a user does, as the window reports it.
    // Clicks on the window's controls; a disabled control ignores the click.
    void userClickCommand(int number);  // 1..6 for Command1..Command6
    void userClickOption1(int index);
    void userClickOption2(int index);
    void userClickCheck1(int index);
    // Pointer events on the canvas, in canvas pixels. A press on a label or a
    // letter picture goes to that control; while a button is held every move and
    // release goes where the first press went.
    void pointerPress(int button, float x, float y);
    void pointerMove(float x, float y);
    void pointerRelease(int button, float x, float y);
    int heldButtons() const { return heldButtons_; }

    CanvasHit hitTest(float x, float y) const;
    // Whether a left press at (x, y) lies in the zone of a handle, and the
    // handle that such a press grabs (kHandleNone for none).
    bool inHandleZone(int handle, float x, float y) const;
    int handleAt(float x, float y) const;

    // figure/keyboard_drag.cpp: the figure from the keyboard. A key pressed
    // while the canvas has the focus, or its repeat while held down; true when
    // the canvas used it.
    bool canvasKey(CanvasKey key, bool shift, bool repeat = false);
    // The canvas lost the focus: a handle picked from the keyboard is let go.
    void canvasFocusLost();
    // The handle held by the keyboard, kHandleNone when none.
    int keyboardHandle() const;
    // The figure in words: the handle held, the segments that the parallels cut
    // on l and m in squares of the grid, and their ratios.
    std::string canvasWords() const;
    // The words followed by the keys: the canvas's description.
    std::string canvasDescription() const;
    // The keys of the canvas, in one sentence.
    static const char* canvasKeyHint();

    // All option buttons, Option1(0..7) then Option2(0..3).
    int selectedOptionCount() const { return options_.selectedCount(); }

  private:
    // ui/form1.cpp
    void wireEvents();
    // figure/mouse.cpp
    void figureMove(float x, float y);
    void selectHandle(float x, float y);
    void letGoOfHandle();
    // figure/keyboard_drag.cpp
    void pickHandle(int handle);
    void letGoOfKeyboardHandle();
    bool keyboardGrabPoint(int handle, float& x, float& y) const;
    // tools/memo.cpp
    // Memo mode (true) or the straight-line tool comes on.
    void toolOn(bool memo);
    void startPenStroke();
    void penMove(float x, float y);
    // tools/line_tool.cpp
    void startStraightLine(float x, float y);
    void straightLineMove(float x, float y);
    void finishStraightLine(float x, float y);
    void endLineInProgress();
    int findFreeLineSlot() const;

    OptionGroup options_;
    FormHost* host_ = nullptr;
    EstimatingTextMeasurer estimatingMeasurer_;
    bool endRequested_ = false;
    int heldButtons_ = 0;
    CanvasHit captureTarget_;
    // The handle picked from the keyboard and where its steps have brought the
    // pointer that holds it.
    int keyHandle_ = 0;
    float keyX_ = 0;
    float keyY_ = 0;
};

}  // namespace heikosen
