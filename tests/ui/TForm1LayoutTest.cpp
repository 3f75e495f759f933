// The window as the form defines it: every control's place, colours, font, first text, alignment,
// visibility, read-only state, cursor and context menu, checked against a table of the form; then
// the window itself, the stacking and the shared interaction rules (oval buttons, caret hiding,
// no context menu, focus on page change). The window is built without running the start-up
// sequence.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBitmap>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QPalette>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/SimMachine.h"
#include "platform/sim/SimPlatform.h"
#include "probes/Colour.h"
#include "support/CodePageTextTesting.h"
#include "ui/ColourConvert.h"
#include "ui/Fonts.h"
#include "ui/TDriveComboBox.h"
#include "ui/TEdit.h"
#include "ui/TForm1.h"
#include "ui/TGauge.h"
#include "ui/TLabel.h"
#include "ui/TMemo.h"
#include "ui/TOvalButton.h"
#include "ui/TPanel.h"

namespace zelvo {
namespace {

using platform::makeNtMachine;
using platform::SimPlatform;

// A window built the way the program builds it, without the start-up sequence; the load monitor's
// timer is stopped so nothing changes the controls behind the test's back.
struct Window {
    SimPlatform platform{makeNtMachine()};
    TForm1 form{platform};

    Window() { form.Timer2->stop(); }

    void show() {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.Timer2->stop();
    }
};

enum class Kind { Page, Panel, Label, Memo, Edit, Gauge, Oval, Drive };

enum Flag : unsigned {
    None = 0,
    Hidden = 1,        // hidden at start
    RightAligned = 2,  // right-aligned text
    ReadOnly = 4,
    NoMenu = 8,       // an empty context menu: none at all
    HidesCaret = 16,  // a mouse press hides the focused box's caret
    Arrow = 32,       // arrow cursor (text boxes); otherwise the text cursor
};

enum Style : unsigned { Plain = 0, B = 1, I = 2 };

struct FontSpec {
    FontFace face = FontFace::G;
    int height = 0;  // 0: the control names no font of its own
    unsigned style = Plain;
};

struct Row {
    const char* name;
    QWidget* (*control)(TForm1&);
    QWidget* (*parent)(TForm1&);
    Kind kind;
    QRect rect;
    ColourValue back;  // the control's colour (panels, boxes, gauges)
    ColourValue text;  // the font colour; a gauge's fore colour
    FontSpec font;
    QStringList content;  // a label's or edit's text, a panel's caption, or a memo's lines
    unsigned flags;
};

#define CTL(n) #n, [](TForm1 & f) -> QWidget* { return f.n; }
#define IN(n) [](TForm1& f) -> QWidget* { return f.n; }

constexpr ColourValue Tooltip = colour::TooltipBackground;
constexpr ColourValue WindowC = colour::WindowColour;
constexpr ColourValue Black = colour::Black;
constexpr ColourValue White = colour::White;
constexpr ColourValue Red = colour::Red;
constexpr ColourValue Aqua = colour::Aqua;
constexpr ColourValue Lime = colour::Lime;
constexpr ColourValue Yellow = colour::Yellow;
constexpr ColourValue Navy = colour::Navy;
constexpr ColourValue Blue = colour::Blue;
constexpr ColourValue Silver = colour::Silver;
constexpr ColourValue Maroon = colour::Maroon;
constexpr ColourValue Green = colour::Green;
constexpr ColourValue Olive = colour::Olive;
constexpr ColourValue Teal = colour::Teal;

const FontSpec G12{FontFace::G, -12}, G13{FontFace::G, -13}, G15{FontFace::G, -15}, G15b{FontFace::G, -15, B},
    G19b{FontFace::G, -19, B}, G20b{FontFace::G, -20, B}, M19bi{FontFace::M, -19, B | I}, M21b{FontFace::M, -21, B},
    M23bi{FontFace::M, -23, B | I}, F13b{FontFace::F, -13, B}, F15{FontFace::F, -15}, F15b{FontFace::F, -15, B},
    F16b{FontFace::F, -16, B}, NoFont{};

const QString kUsage = QStringLiteral("使用率");

// Memos show the arrow, have no menu and hide the caret on a press.
constexpr unsigned MemoRO = ReadOnly | NoMenu | HidesCaret | Arrow;
constexpr unsigned MemoRW = NoMenu | HidesCaret | Arrow;

const std::vector<Row>& rows() {
    static const std::vector<Row> table{
        // Disk page
        {CTL(Panel2), IN(DiskTab), Kind::Page, {0, 0, 463, 215}, Black, 0, NoFont, {}, None},
        {CTL(Label12), IN(Panel2), Kind::Label, {40, 55, 45, 15}, 0, White, G15, {kUsage}, Hidden},
        {CTL(Label20), IN(Panel2), Kind::Label, {96, 53, 44, 19}, 0, Red, G19b, {"100%"}, RightAligned},
        {CTL(Gauge5), IN(Panel2), Kind::Gauge, {42, 82, 100, 100}, Black, Red, G20b, {}, None},
        {CTL(DriveComboBox1), IN(Panel2), Kind::Drive, {16, 13, 150, 18}, Black, WindowC, G12, {}, None},
        {CTL(Panel3), IN(Panel2), Kind::Panel, {195, 7, 254, 106}, White, 0, NoFont, {}, None},
        {CTL(Panel4), IN(Panel3), Kind::Panel, {1, 1, 252, 104}, Black, 0, NoFont, {}, None},
        {CTL(Label2), IN(Panel4), Kind::Label, {10, 15, 45, 15}, 0, White, G15, {"全容量"}, Hidden},
        {CTL(Label3), IN(Panel4), Kind::Label, {10, 45, 45, 15}, 0, White, G15, {"使用量"}, Hidden},
        {CTL(Label4), IN(Panel4), Kind::Label, {10, 75, 45, 15}, 0, White, G15, {"空容量"}, Hidden},
        {CTL(Memo1),
         IN(Panel4),
         Kind::Memo,
         {60, 10, 185, 30},
         Black,
         White,
         M23bi,
         {"ハードディスク等", "", ""},
         MemoRO | RightAligned},
        {CTL(Memo2),
         IN(Panel4),
         Kind::Memo,
         {60, 40, 185, 30},
         Black,
         White,
         M23bi,
         {"の使用状況を、"},
         MemoRO | RightAligned},
        {CTL(Memo3),
         IN(Panel4),
         Kind::Memo,
         {60, 70, 185, 30},
         Black,
         White,
         M23bi,
         {"大まかに表示。"},
         MemoRO | RightAligned},
        {CTL(Panel5), IN(Panel2), Kind::Panel, {195, 125, 254, 78}, White, 0, NoFont, {}, None},
        {CTL(Panel6), IN(Panel5), Kind::Panel, {1, 1, 252, 76}, Black, 0, NoFont, {}, None},
        {CTL(Label15), IN(Panel6), Kind::Label, {10, 15, 105, 15}, 0, White, G15, {"ファイルシステム"}, None},
        {CTL(Label14), IN(Panel6), Kind::Label, {10, 45, 82, 15}, 0, White, G15, {"シリアル番号"}, None},
        {CTL(Memo10), IN(Panel6), Kind::Memo, {120, 10, 125, 25}, Black, Aqua, M19bi, {}, MemoRO | RightAligned},
        {CTL(Memo9), IN(Panel6), Kind::Memo, {120, 40, 125, 25}, Black, Aqua, M19bi, {}, MemoRO | RightAligned},

        // Memory page
        {CTL(Panel7), IN(MemTab), Kind::Page, {0, 0, 463, 215}, Black, 0, NoFont, {}, None},
        {CTL(Label8), IN(Panel7), Kind::Label, {40, 55, 45, 15}, 0, White, G15, {kUsage}, None},
        {CTL(Gauge1), IN(Panel7), Kind::Gauge, {42, 82, 100, 100}, Black, Red, G20b, {}, None},
        {CTL(Label13), IN(Panel7), Kind::Label, {96, 53, 44, 19}, 0, Red, G19b, {"100%"}, RightAligned},
        {CTL(Panel8), IN(Panel7), Kind::Panel, {195, 7, 254, 106}, White, 0, NoFont, {}, None},
        {CTL(Panel9), IN(Panel8), Kind::Panel, {1, 1, 252, 104}, Black, 0, NoFont, {}, None},
        {CTL(Label5), IN(Panel9), Kind::Label, {10, 15, 45, 15}, 0, White, G15, {"全容量"}, Hidden},
        {CTL(Label6), IN(Panel9), Kind::Label, {10, 45, 45, 15}, 0, White, G15, {"使用量"}, Hidden},
        {CTL(Label7), IN(Panel9), Kind::Label, {10, 75, 45, 15}, 0, White, G15, {"空容量"}, Hidden},
        {CTL(Memo4),
         IN(Panel9),
         Kind::Memo,
         {60, 10, 185, 30},
         Black,
         Tooltip,
         M23bi,
         {"メイン・メモリー"},
         MemoRO | RightAligned},
        {CTL(Memo5),
         IN(Panel9),
         Kind::Memo,
         {60, 40, 185, 30},
         Black,
         Tooltip,
         M23bi,
         {"の使用状況を、"},
         MemoRO | RightAligned},
        {CTL(Memo6),
         IN(Panel9),
         Kind::Memo,
         {60, 70, 185, 30},
         Black,
         Tooltip,
         M23bi,
         {"大まかに表示。"},
         MemoRO | RightAligned},

        // CPU page
        {CTL(Panel10), IN(CPUTab), Kind::Page, {0, 0, 463, 216}, Black, 0, NoFont, {}, None},
        {CTL(Label9), IN(Panel10), Kind::Label, {40, 55, 45, 15}, 0, White, G15, {kUsage}, None},
        {CTL(Gauge6), IN(Panel10), Kind::Gauge, {42, 82, 100, 100}, Black, Red, G20b, {}, None},
        {CTL(Label21), IN(Panel10), Kind::Label, {96, 53, 44, 19}, 0, Red, G19b, {"100%"}, RightAligned},
        {CTL(Panel11), IN(Panel10), Kind::Panel, {195, 7, 254, 47}, White, 0, NoFont, {}, None},
        {CTL(Panel12), IN(Panel11), Kind::Panel, {1, 1, 252, 45}, Black, 0, NoFont, {}, None},
        {CTL(Label16), IN(Panel12), Kind::Label, {10, 15, 45, 15}, 0, WindowC, G15, {"周波数"}, Hidden},
        {CTL(Memo7),
         IN(Panel12),
         Kind::Memo,
         {60, 10, 185, 30},
         Black,
         Tooltip,
         M23bi,
         {"CPUクロック   "},
         MemoRO | RightAligned},
        {CTL(Panel13), IN(Panel10), Kind::Panel, {270, 160, 115, 26}, Maroon, 0, NoFont, {}, None},
        {CTL(Keisoku), IN(Panel13), Kind::Oval, {0, 0, 114, 25}, Green, White, G15, {"クロック 計測"}, None},
        {CTL(Panel32), IN(Panel10), Kind::Panel, {195, 65, 254, 74}, White, 0, NoFont, {}, None},
        {CTL(Panel33), IN(Panel32), Kind::Panel, {1, 1, 252, 72}, Black, 0, NoFont, {}, NoMenu},
        {CTL(Label26), IN(Panel33), Kind::Label, {10, 15, 31, 13}, 0, White, G13, {"Name"}, NoMenu},
        {CTL(Label27), IN(Panel33), Kind::Label, {10, 40, 40, 13}, 0, White, G13, {"Vendor"}, NoMenu},
        {CTL(Edit4),
         IN(Panel33),
         Kind::Edit,
         {55, 40, 185, 23},
         Black,
         Aqua,
         G13,
         {"Edit4"},
         NoMenu | HidesCaret | Arrow},
        {CTL(M11), IN(Panel33), Kind::Edit, {55, 15, 185, 20}, Black, Yellow, G13, {"M11"}, None},

        // BIOS page
        {CTL(Panel14), IN(BIOSTab), Kind::Page, {0, 0, 463, 215}, Black, 0, NoFont, {}, None},
        {CTL(Panel26), IN(Panel14), Kind::Panel, {20, 20, 415, 170}, White, 0, NoFont, {}, None},
        {CTL(Panel27), IN(Panel26), Kind::Panel, {1, 1, 413, 168}, Black, 0, NoFont, {}, None},
        {CTL(Memo8), IN(Panel27), Kind::Memo, {20, 40, 380, 120}, Black, Lime, G15b, {}, MemoRO},
        {CTL(Edit1),
         IN(Panel27),
         Kind::Edit,
         {0, 15, 413, 30},
         Black,
         Aqua,
         M21b,
         {"           メインボード　バイオス情報"},
         NoMenu | HidesCaret | Arrow},

        // Display page
        {CTL(Panel28), IN(DisplayTab), Kind::Page, {0, 0, 463, 215}, Black, 0, NoFont, {}, None},
        {CTL(Panel29), IN(Panel28), Kind::Panel, {20, 20, 415, 170}, White, 0, NoFont, {}, None},
        {CTL(Panel30), IN(Panel29), Kind::Panel, {1, 1, 413, 168}, Black, 0, NoFont, {}, None},
        {CTL(Disp1), IN(Panel30), Kind::Memo, {0, 40, 413, 120}, Black, Lime, F16b, {}, MemoRW},
        {CTL(Edit2),
         IN(Panel30),
         Kind::Edit,
         {0, 15, 413, 30},
         Black,
         Aqua,
         M21b,
         {"　　　　　　ディスプレイ（画面）情報"},
         NoMenu | HidesCaret | Arrow},

        // User page
        {CTL(Panel1), IN(UserTab), Kind::Page, {0, 0, 463, 215}, Black, 0, NoFont, {}, None},
        {CTL(M1), IN(Panel1), Kind::Memo, {255, 150, 190, 50}, Black, Lime, F15, {"M1"}, MemoRW},
        {CTL(Panel16), IN(Panel1), Kind::Panel, {2, 2, 240, 200}, White, 0, NoFont, {}, None},
        {CTL(Panel17), IN(Panel16), Kind::Panel, {1, 1, 238, 198}, Black, 0, NoFont, {}, None},
        {CTL(Label23), IN(Panel17), Kind::Label, {5, 140, 51, 15}, 0, White, F15b, {"ＰＣ名"}, NoMenu | HidesCaret},
        {CTL(Name1), IN(Panel17), Kind::Memo, {5, 30, 55, 41}, Black, White, F15b, {"使用者"}, MemoRW},
        {CTL(Company1), IN(Panel17), Kind::Memo, {5, 85, 55, 41}, Black, White, F15b, {"会社名"}, MemoRW},
        {CTL(NowName), IN(Panel17), Kind::Memo, {60, 30, 175, 50}, Black, Aqua, F15b, {}, MemoRW},
        {CTL(NowCompany), IN(Panel17), Kind::Memo, {60, 85, 175, 50}, Black, Yellow, F15b, {}, MemoRW},
        {CTL(NowPCName), IN(Panel17), Kind::Memo, {60, 140, 175, 50}, Black, Lime, F15b, {}, MemoRW},
        {CTL(Panel20), IN(Panel1), Kind::Panel, {150, 2, 300, 140}, Blue, 0, NoFont, {}, Hidden},
        {CTL(P2), IN(Panel20), Kind::Panel, {1, 1, 298, 138}, Black, 0, NoFont, {}, None},
        {CTL(Label10), IN(P2), Kind::Label, {5, 22, 45, 13}, 0, White, F13b, {"使用者"}, NoMenu},
        {CTL(Label11), IN(P2), Kind::Label, {5, 57, 45, 13}, 0, White, F13b, {"会社名"}, NoMenu},
        {CTL(Label25), IN(P2), Kind::Label, {5, 92, 45, 13}, 0, White, F13b, {"ＰＣ名"}, NoMenu},
        {CTL(Panel21), IN(P2), Kind::Panel, {50, 20, 150, 20}, Silver, 0, NoFont, {}, None},
        {CTL(Panel34), IN(Panel21), Kind::Panel, {1, 1, 148, 18}, Navy, 0, NoFont, {}, None},
        {CTL(NewName), IN(Panel34), Kind::Edit, {5, 0, 140, 18}, Navy, Aqua, G15b, {"NewName"}, NoMenu},
        {CTL(Panel22), IN(P2), Kind::Panel, {50, 55, 150, 20}, Silver, 0, NoFont, {}, None},
        {CTL(Panel35), IN(Panel22), Kind::Panel, {1, 1, 148, 18}, Navy, 0, NoFont, {}, None},
        {CTL(NewCompany), IN(Panel35), Kind::Edit, {5, 0, 140, 18}, Navy, Yellow, G15b, {"NewCompany"}, NoMenu},
        {CTL(Panel23), IN(P2), Kind::Panel, {215, 55, 70, 26}, Maroon, 0, NoFont, {}, None},
        {CTL(Touroku), IN(Panel23), Kind::Oval, {0, 0, 69, 25}, Green, Yellow, G12, {"登　録"}, None},
        {CTL(Panel24), IN(P2), Kind::Panel, {215, 88, 70, 26}, Maroon, 0, NoFont, {}, None},
        {CTL(Cancel), IN(Panel24), Kind::Oval, {0, 0, 69, 25}, Olive, Silver, G12, {"キャンセル"}, None},
        {CTL(Panel31), IN(P2), Kind::Panel, {50, 90, 150, 20}, Silver, 0, NoFont, {}, None},
        {CTL(Panel36), IN(Panel31), Kind::Panel, {1, 1, 148, 18}, Navy, 0, NoFont, {}, None},
        {CTL(NewPCName), IN(Panel36), Kind::Edit, {5, 0, 140, 18}, Navy, Lime, G15b, {"NewPCName"}, NoMenu},
        {CTL(Panel25), IN(Panel1), Kind::Panel, {310, 100, 70, 26}, Maroon, 0, NoFont, {}, None},
        {CTL(Change), IN(Panel25), Kind::Oval, {0, 0, 69, 25}, Teal, White, G12, {"登録変更"}, None},
    };
    return table;
}

// The rectangle relative to the parent's client area (inside a bordered panel's border).
QRect relativeRect(QWidget* control) {
    QRect r = control->geometry();
    if (const auto* panel = qobject_cast<const TPanel*>(control->parentWidget()))
        r.translate(-panel->clientOrigin());
    return r;
}

class ControlTable : public ::testing::TestWithParam<Row> {
protected:
    static void SetUpTestSuite() { window_ = new Window; }
    static void TearDownTestSuite() {
        delete window_;
        window_ = nullptr;
    }
    static Window* window_;
};
Window* ControlTable::window_ = nullptr;

void expectFont(const QFont& font, const FontSpec& expected) {
    ASSERT_FALSE(font.families().isEmpty());
    EXPECT_EQ(font.families().first(), namedFamily(expected.face));
    const QString resolved = QFontInfo(font).family();
    EXPECT_TRUE(resolved == namedFamily(expected.face) || resolved == substituteFamily(expected.face))
        << resolved.toStdString();
    EXPECT_EQ(font.pixelSize(), -expected.height);
    EXPECT_EQ(font.bold(), (expected.style & B) != 0);
    EXPECT_EQ(font.italic(), (expected.style & I) != 0);
}

TEST_P(ControlTable, MatchesTheForm) {
    const Row& row = GetParam();
    TForm1& form = window_->form;
    QWidget* control = row.control(form);
    ASSERT_NE(control, nullptr);
    ASSERT_EQ(control->parentWidget(), row.parent(form));
    EXPECT_EQ(control->isHidden(), (row.flags & Hidden) != 0);
    const Qt::ContextMenuPolicy menu = control->contextMenuPolicy();
    if (row.flags & NoMenu)
        EXPECT_EQ(menu, Qt::PreventContextMenu);
    else
        EXPECT_EQ(menu, Qt::DefaultContextMenu);
    if (row.font.height != 0)
        expectFont(control->font(), row.font);

    // Labels and memos take up their font and text once shown; do it now, as showing the page would.
    if (auto* label = qobject_cast<TLabel*>(control))
        label->realise();
    if (auto* memo = qobject_cast<TMemo*>(control))
        memo->realise();
    const QRect rect = relativeRect(control);
    switch (row.kind) {
        case Kind::Page:
        case Kind::Panel:
        case Kind::Oval: {
            auto* panel = qobject_cast<TPanel*>(control);
            ASSERT_NE(panel, nullptr);
            EXPECT_EQ(rect, row.rect);
            EXPECT_EQ(panel->color(), row.back);
            // Page backgrounds carry a single-line border; other panels are flat and borderless.
            if (row.kind == Kind::Page)
                EXPECT_EQ(panel->borderColor(), std::optional<ColourValue>(colour::WindowFrame));
            else
                EXPECT_EQ(panel->borderColor(), std::nullopt);
            if (row.kind == Kind::Oval) {
                ASSERT_NE(qobject_cast<TOvalButton*>(control), nullptr);
                EXPECT_EQ(panel->caption(), row.content.value(0));
                EXPECT_EQ(panel->fontColor(), row.text);
                EXPECT_EQ(control->cursor().shape(), Qt::PointingHandCursor);
            } else {
                EXPECT_TRUE(panel->caption().isEmpty());
            }
            break;
        }
        case Kind::Label: {
            auto* label = qobject_cast<TLabel*>(control);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), row.content.value(0));
            EXPECT_EQ(label->fontColor(), row.text);
            EXPECT_EQ(label->palette().color(QPalette::WindowText), toQColor(row.text));
            EXPECT_FALSE(label->autoFillBackground());
            EXPECT_EQ(label->rightJustify(), (row.flags & RightAligned) != 0);
            // Labels size themselves to their text: with the named face that is the form's size; a
            // stand-in face measures its own. A right-aligned label keeps its right edge.
            QSize expected = row.rect.size();
            if (QFontInfo(label->font()).family() != namedFamily(row.font.face)) {
                const QFontMetrics metrics(label->font());
                expected = QSize(metrics.horizontalAdvance(row.content.value(0)), metrics.height());
            }
            EXPECT_EQ(rect.size(), expected);
            EXPECT_EQ(rect.top(), row.rect.top());
            if (row.flags & RightAligned)
                EXPECT_EQ(rect.x() + rect.width(), row.rect.x() + row.rect.width());
            else
                EXPECT_EQ(rect.x(), row.rect.x());
            break;
        }
        case Kind::Memo: {
            auto* memo = qobject_cast<TMemo*>(control);
            ASSERT_NE(memo, nullptr);
            EXPECT_EQ(rect, row.rect);
            EXPECT_EQ(memo->lines(), row.content);
            EXPECT_EQ(memo->color(), row.back);
            EXPECT_EQ(memo->fontColor(), row.text);
            EXPECT_EQ(memo->palette().color(QPalette::Base), toQColor(row.back));
            EXPECT_EQ(memo->palette().color(QPalette::Text), toQColor(row.text));
            EXPECT_EQ(memo->alignment(), (row.flags & RightAligned) ? Qt::AlignRight : Qt::AlignLeft);
            EXPECT_EQ(memo->document()->defaultTextOption().alignment() & Qt::AlignHorizontal_Mask,
                      (row.flags & RightAligned) ? Qt::AlignRight : Qt::AlignLeft);
            EXPECT_EQ(memo->isReadOnly(), (row.flags & ReadOnly) != 0);
            EXPECT_EQ(memo->frameShape(), QFrame::NoFrame);
            EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
            EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
            EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
            EXPECT_EQ(memo->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
            EXPECT_EQ(memo->viewport()->cursor().shape(), Qt::ArrowCursor);
            EXPECT_EQ(bool(memo->OnMouseDown), (row.flags & HidesCaret) != 0);
            break;
        }
        case Kind::Edit: {
            auto* edit = qobject_cast<TEdit*>(control);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(rect, row.rect);
            EXPECT_EQ(edit->text(), row.content.value(0));
            EXPECT_EQ(edit->color(), row.back);
            EXPECT_EQ(edit->fontColor(), row.text);
            EXPECT_EQ(edit->palette().color(QPalette::Base), toQColor(row.back));
            EXPECT_EQ(edit->palette().color(QPalette::Text), toQColor(row.text));
            EXPECT_FALSE(edit->hasFrame());
            EXPECT_FALSE(edit->isReadOnly());
            EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
            EXPECT_EQ(edit->cursor().shape(), (row.flags & Arrow) ? Qt::ArrowCursor : Qt::IBeamCursor);
            EXPECT_EQ(bool(edit->OnMouseDown), (row.flags & HidesCaret) != 0);
            break;
        }
        case Kind::Gauge: {
            auto* gauge = qobject_cast<TGauge*>(control);
            ASSERT_NE(gauge, nullptr);
            EXPECT_EQ(rect, row.rect);
            EXPECT_EQ(gauge->Kind(), gkPie);
            EXPECT_FALSE(gauge->ShowText());
            EXPECT_EQ(gauge->BorderStyle(), bsNone);
            EXPECT_EQ(gauge->Color(), row.back);
            EXPECT_EQ(gauge->ForeColor(), row.text);
            EXPECT_EQ(gauge->BackColor(), Navy);
            EXPECT_EQ(gauge->Progress(), 0);
            break;
        }
        case Kind::Drive: {
            auto* drive = qobject_cast<TDriveComboBox*>(control);
            ASSERT_NE(drive, nullptr);
            EXPECT_EQ(rect.topLeft(), row.rect.topLeft());
            EXPECT_EQ(rect.width(), row.rect.width());
            EXPECT_EQ(drive->color(), row.back);
            EXPECT_EQ(drive->fontColor(), row.text);
            EXPECT_EQ(control->cursor().shape(), Qt::PointingHandCursor);
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Form, ControlTable, ::testing::ValuesIn(rows()),
                         [](const ::testing::TestParamInfo<Row>& paramInfo) {
                             return std::string(paramInfo.param.name);
                         });

// --- the window ---

TEST(TForm1Window, CaptionSizeFlagsAndFont) {
    Window w;
    TForm1& form = w.form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("\u3000Zelvo      Ver 1.2\u3000\u3000Varnel  "));
    EXPECT_EQ(form.minimumSize(), QSize(472, 242));
    EXPECT_EQ(form.maximumSize(), QSize(472, 242));
    EXPECT_EQ(form.size(), QSize(472, 242));
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::Window));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
    expectFont(form.font(), G12);
    EXPECT_EQ(form.palette().color(QPalette::Window), toQColor(colour::ButtonFace));
    EXPECT_EQ(form.pos(), QPoint(229, 132));
}

TEST(TForm1Window, IconIsThe32PixelSixteenColourPicture) {
    Window w;
    const QIcon icon = w.form.windowIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage image(QStringLiteral(":/zelvo/zelvo.png"));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(32, 32));
    // Sixteen colours and the transparent surround.
    EXPECT_LE(image.colorCount(), 17);
    EXPECT_GT(image.colorCount(), 0);
    EXPECT_EQ(icon.pixmap(32, 32).size(), QSize(32, 32));
}

TEST(TForm1Window, SixPagesInOrderWithCpuShown) {
    Window w;
    TForm1& form = w.form;
    QTabWidget* tabs = form.PageControl1;
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->parentWidget(), &form);
    EXPECT_EQ(tabs->geometry(), QRect(0, 0, 472, 242));
    const std::vector<std::pair<QWidget*, QString>> pages{
        {form.DiskTab, QStringLiteral("ディスク")}, {form.MemTab, QStringLiteral("メモリ")},
        {form.CPUTab, QStringLiteral("CPU")},       {form.BIOSTab, QStringLiteral("BIOS")},
        {form.DisplayTab, QStringLiteral("画面")},  {form.UserTab, QStringLiteral("ユーザー 情報")},
    };
    ASSERT_EQ(tabs->count(), int(pages.size()));
    for (int i = 0; i < tabs->count(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tabs->widget(i), pages[std::size_t(i)].first);
        EXPECT_EQ(tabs->tabText(i), pages[std::size_t(i)].second);
        EXPECT_TRUE(tabs->isTabVisible(i));
    }
    EXPECT_EQ(tabs->currentWidget(), form.CPUTab);
}

// --- stacking ---

int stackIndex(QWidget* control) {
    return int(control->parentWidget()->children().indexOf(control));
}

TEST(TForm1Stacking, LaterSiblingsLieAboveAndLabelsBelowAllBoxes) {
    Window w;
    TForm1& f = w.form;
    EXPECT_GT(stackIndex(f.Edit1), stackIndex(f.Memo8));
    EXPECT_GT(stackIndex(f.Edit2), stackIndex(f.Disp1));
    EXPECT_GT(stackIndex(f.Panel20), stackIndex(f.Panel16));
    EXPECT_GT(stackIndex(f.Panel25), stackIndex(f.Panel20));
    // Edit1 covers the top five pixels of Memo8 (and Edit2 those of Disp1).
    EXPECT_EQ(f.Edit1->geometry().intersected(f.Memo8->geometry()).height(), 5);
    EXPECT_EQ(f.Edit2->geometry().intersected(f.Disp1->geometry()).height(), 5);
    EXPECT_EQ(f.Panel27->childAt(f.Memo8->geometry().topLeft() + QPoint(10, 2)), f.Edit1);

    for (const Row& row : rows()) {
        if (row.kind != Kind::Label)
            continue;
        SCOPED_TRACE(row.name);
        QWidget* label = row.control(f);
        for (QObject* sibling : label->parentWidget()->children()) {
            auto* widget = qobject_cast<QWidget*>(sibling);
            if (!widget || qobject_cast<TLabel*>(widget) || qobject_cast<TGauge*>(widget))
                continue;
            EXPECT_LT(stackIndex(label), stackIndex(widget)) << "below " << widget->metaObject()->className();
        }
    }
}

// Mouse input through the window, as the window system delivers it: to the control under the
// pointer (masks respected), and a release to the control that took the press.
void press(TForm1& form, Qt::MouseButton button, QPoint at) {
    QTest::mousePress(form.windowHandle(), button, {}, at);
}
void release(TForm1& form, Qt::MouseButton button, QPoint at) {
    QTest::mouseRelease(form.windowHandle(), button, {}, at);
}

// --- oval push buttons ---

struct Oval {
    const char* name;
    TPanel* (*outer)(TForm1&);
    TOvalButton* (*inner)(TForm1&);
    QWidget* (*page)(TForm1&);
};

const std::vector<Oval>& ovals() {
    static const std::vector<Oval> list{
        {"Keisoku", [](TForm1& f) { return f.Panel13; }, [](TForm1& f) { return f.Keisoku; },
         [](TForm1& f) { return f.CPUTab; }},
        {"Touroku", [](TForm1& f) { return f.Panel23; }, [](TForm1& f) { return f.Touroku; },
         [](TForm1& f) { return f.UserTab; }},
        {"Cancel", [](TForm1& f) { return f.Panel24; }, [](TForm1& f) { return f.Cancel; },
         [](TForm1& f) { return f.UserTab; }},
        {"Change", [](TForm1& f) { return f.Panel25; }, [](TForm1& f) { return f.Change; },
         [](TForm1& f) { return f.UserTab; }},
    };
    return list;
}

class OvalButtons : public ::testing::TestWithParam<Oval> {
protected:
    void SetUp() override {
        w_ = std::make_unique<Window>();
        TForm1& f = w_->form;
        const Oval& oval = GetParam();
        outer_ = oval.outer(f);
        inner_ = oval.inner(f);
        // The editor box holds Touroku and Cancel; show it so they can be pressed.
        f.Panel20->setVisible(true);
        f.PageControl1->setCurrentWidget(oval.page(f));
        for (QWidget* panel :
             {static_cast<QWidget*>(f.Panel13), static_cast<QWidget*>(f.Keisoku), static_cast<QWidget*>(f.Panel23),
              static_cast<QWidget*>(f.Touroku), static_cast<QWidget*>(f.Panel24), static_cast<QWidget*>(f.Cancel),
              static_cast<QWidget*>(f.Panel25), static_cast<QWidget*>(f.Change)})
            ApplyOvalClip(panel);
        w_->show();
        inner_->OnClick = [this] {
            ++clicks_;
            positionAtClick_ = inner_->pos();
        };
    }

    // A point of the inner panel in the window's coordinates.
    QPoint inWindow(QPoint local) const { return inner_->mapTo(&w_->form, local); }

    std::unique_ptr<Window> w_;
    TPanel* outer_ = nullptr;
    TOvalButton* inner_ = nullptr;
    int clicks_ = 0;
    QPoint positionAtClick_{-100, -100};
};

TEST_P(OvalButtons, PressSinksReleaseInsideClicksThenRises) {
    const QPoint centre = inWindow(inner_->rect().center());
    press(w_->form, Qt::LeftButton, centre);
    EXPECT_EQ(inner_->pos(), QPoint(1, 1));
    EXPECT_EQ(clicks_, 0);
    release(w_->form, Qt::LeftButton, centre + QPoint(1, 1));
    EXPECT_EQ(clicks_, 1);
    // The action ran while the button was still down.
    EXPECT_EQ(positionAtClick_, QPoint(1, 1));
    EXPECT_EQ(inner_->pos(), QPoint(0, 0));
}

TEST_P(OvalButtons, ReleaseInACornerOutsideTheOvalStillClicks) {
    press(w_->form, Qt::LeftButton, inWindow(inner_->rect().center()));
    ASSERT_EQ(inner_->pos(), QPoint(1, 1));
    // The top-left pixel of the sunk panel's rectangle is outside its oval.
    ASSERT_FALSE(inner_->mask().contains(QPoint(0, 0)));
    release(w_->form, Qt::LeftButton, inWindow(QPoint(0, 0)));
    EXPECT_EQ(clicks_, 1);
    EXPECT_EQ(inner_->pos(), QPoint(0, 0));
}

TEST_P(OvalButtons, ReleaseOutsideMovesBackWithoutClick) {
    press(w_->form, Qt::LeftButton, inWindow(inner_->rect().center()));
    ASSERT_EQ(inner_->pos(), QPoint(1, 1));
    release(w_->form, Qt::LeftButton, inWindow(QPoint(inner_->width() + 20, -15)));
    EXPECT_EQ(clicks_, 0);
    EXPECT_EQ(inner_->pos(), QPoint(0, 0));
}

TEST_P(OvalButtons, OtherButtonsDoNothing) {
    const QPoint centre = inWindow(inner_->rect().center());
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        SCOPED_TRACE(int(button));
        press(w_->form, button, centre);
        EXPECT_EQ(inner_->pos(), QPoint(0, 0));
        release(w_->form, button, centre);
        EXPECT_EQ(inner_->pos(), QPoint(0, 0));
        EXPECT_EQ(clicks_, 0);
    }
}

TEST_P(OvalButtons, APressOutsideTheOvalMissesTheButton) {
    press(w_->form, Qt::LeftButton, inWindow(QPoint(0, 0)));
    EXPECT_EQ(inner_->pos(), QPoint(0, 0));
    release(w_->form, Qt::LeftButton, inWindow(QPoint(0, 0)));
    EXPECT_EQ(clicks_, 0);
}

TEST_P(OvalButtons, BothPanelsAreSymmetricOvalsWithARimAtRightAndBottom) {
    for (QWidget* panel : {static_cast<QWidget*>(outer_), static_cast<QWidget*>(inner_)}) {
        SCOPED_TRACE(panel->metaObject()->className());
        const QImage mask = panel->mask().isEmpty() ? QImage() : EllipseMask(panel->size()).toImage();
        ASSERT_FALSE(mask.isNull());
        EXPECT_EQ(QRegion(QBitmap::fromImage(mask)), panel->mask());
        EXPECT_EQ(mask, mask.mirrored(true, false));
        EXPECT_EQ(mask, mask.mirrored(false, true));
        EXPECT_FALSE(panel->mask().contains(QPoint(0, 0)));
        EXPECT_TRUE(panel->mask().contains(panel->rect().center()));
    }
    // The outer oval reaches one pixel further right and down than the inner one.
    const int middleRow = outer_->height() / 2;
    EXPECT_TRUE(outer_->mask().contains(QPoint(outer_->width() - 1, middleRow)));
    EXPECT_FALSE(inner_->geometry().contains(QPoint(outer_->width() - 1, middleRow)));
    const int middleColumn = outer_->width() / 2;
    EXPECT_TRUE(outer_->mask().contains(QPoint(middleColumn, outer_->height() - 1)));
    EXPECT_FALSE(inner_->geometry().contains(QPoint(middleColumn, outer_->height() - 1)));
}

INSTANTIATE_TEST_SUITE_P(Form, OvalButtons, ::testing::ValuesIn(ovals()),
                         [](const ::testing::TestParamInfo<Oval>& paramInfo) {
                             return std::string(paramInfo.param.name);
                         });

// --- caret hiding ---

bool caretHidden(QWidget* box) {
    if (auto* memo = qobject_cast<TMemo*>(box))
        return memo->caretHidden();
    if (auto* edit = qobject_cast<TEdit*>(box))
        return edit->caretHidden();
    ADD_FAILURE() << "not a text box";
    return false;
}

QWidget* pageOf(TForm1& f, QWidget* control) {
    for (QWidget* page : {f.DiskTab, f.MemTab, f.CPUTab, f.BIOSTab, f.DisplayTab, f.UserTab})
        if (page->isAncestorOf(control))
            return page;
    return nullptr;
}

// Where a press lands on a box: memos take it on their viewport.
QWidget* pressTarget(QWidget* box) {
    if (auto* memo = qobject_cast<TMemo*>(box))
        return memo->viewport();
    return box;
}

TEST(TForm1Caret, APressHidesTheCaretOfEveryListedBoxButNotOfTheOthers) {
    Window w;
    TForm1& f = w.form;
    f.Panel20->setVisible(true);
    w.show();
    for (const Row& row : rows()) {
        if (row.kind != Kind::Memo && row.kind != Kind::Edit)
            continue;
        SCOPED_TRACE(row.name);
        QWidget* box = row.control(f);
        f.PageControl1->setCurrentWidget(pageOf(f, box));
        // Any button hides it; a right press elsewhere would open the box's own menu.
        const bool listed = (row.flags & HidesCaret) != 0;
        for (Qt::MouseButton button :
             listed ? std::vector{Qt::LeftButton, Qt::RightButton} : std::vector{Qt::LeftButton}) {
            SCOPED_TRACE(int(button));
            f.Panel10->setFocus();
            box->setFocus(Qt::TabFocusReason);
            ASSERT_TRUE(box->hasFocus());
            ASSERT_FALSE(caretHidden(box));
            QTest::mouseClick(pressTarget(box), button, {}, QPoint(3, 3));
            EXPECT_TRUE(box->hasFocus());
            EXPECT_EQ(caretHidden(box), listed);
        }
    }
}

TEST(TForm1Caret, APressOnLabel23HidesTheFocusedBoxsCaret) {
    Window w;
    TForm1& f = w.form;
    w.show();
    f.PageControl1->setCurrentWidget(f.UserTab);
    f.M1->setFocus(Qt::TabFocusReason);
    ASSERT_FALSE(f.M1->caretHidden());
    QTest::mouseClick(f.Label23, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(f.M1->hasFocus());
    EXPECT_TRUE(f.M1->caretHidden());
}

// The caret is drawn steadily (no blinking) so pictures can be compared.
struct SteadyCaret {
    int saved = QApplication::cursorFlashTime();
    SteadyCaret() { QApplication::setCursorFlashTime(0); }
    ~SteadyCaret() { QApplication::setCursorFlashTime(saved); }
};

QImage picture(QWidget* widget) {
    QApplication::processEvents();
    return widget->grab().toImage();
}

TEST(TForm1Caret, HiddenCaretIsNotDrawnAndShowsAgainAfterTabFocus) {
    SteadyCaret steady;
    Window w;
    TForm1& f = w.form;
    w.show();
    for (QWidget* box : std::initializer_list<QWidget*>{f.Edit4, f.Memo7}) {
        SCOPED_TRACE(box->metaObject()->className());
        f.PageControl1->setCurrentWidget(f.CPUTab);
        f.Panel11->setFocus();
        const QImage unfocused = picture(box);

        // A click puts the caret at the end of the text (it is short), then hides it: the box looks
        // as it does without the focus.
        QTest::mouseClick(pressTarget(box), Qt::LeftButton, {}, QPoint(box->width() - 3, 5));
        ASSERT_TRUE(box->hasFocus());
        ASSERT_TRUE(caretHidden(box));
        EXPECT_EQ(picture(box), unfocused);

        // Tab away and back: the caret shows again.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_FALSE(box->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        ASSERT_TRUE(box->hasFocus());
        EXPECT_FALSE(caretHidden(box));
        if (auto* edit = qobject_cast<TEdit*>(box))
            edit->deselect();
        EXPECT_NE(picture(box), unfocused);
    }
}

// --- page changes and focus ---

TEST(TForm1Focus, PageChangesMoveTheFocusToThePagesPanel) {
    Window w;
    TForm1& f = w.form;
    w.show();
    const std::vector<std::pair<QWidget*, QWidget*>> pages{
        {f.MemTab, f.Panel8},      {f.CPUTab, f.Panel11},  {f.BIOSTab, f.Panel26},
        {f.DisplayTab, f.Panel29}, {f.UserTab, f.Panel16},
    };
    for (const auto& [page, panel] : pages) {
        SCOPED_TRACE(panel->metaObject()->className());
        f.PageControl1->setCurrentWidget(f.DiskTab);
        f.Memo1->setFocus(Qt::TabFocusReason);
        f.PageControl1->setCurrentWidget(page);
        EXPECT_EQ(QApplication::focusWidget(), panel);
    }
}

// --- context menus ---

bool contextMenuOpens(QWidget* target) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3), target->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(target, &event);
    QWidget* popup = QApplication::activePopupWidget();
    if (!popup)
        return false;
    popup->close();
    QApplication::processEvents();
    return true;
}

TEST(TForm1ContextMenu, ListedControlsOpenNoMenuWhileM11KeepsItsOwn) {
    Window w;
    TForm1& f = w.form;
    f.Panel20->setVisible(true);
    w.show();
    for (const Row& row : rows()) {
        QWidget* control = row.control(f);
        if (!(row.flags & NoMenu))
            continue;
        SCOPED_TRACE(row.name);
        f.PageControl1->setCurrentWidget(pageOf(f, control));
        EXPECT_FALSE(contextMenuOpens(pressTarget(control)));
    }
    f.PageControl1->setCurrentWidget(f.CPUTab);
    EXPECT_TRUE(contextMenuOpens(f.M11));
}

}  // namespace
}  // namespace zelvo
