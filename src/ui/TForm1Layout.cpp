// The window as the form defines it: every control at its place, with its colours, fonts and
// first texts, and the interaction rules the pages share.

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTabWidget>
#include <array>
#include <initializer_list>
#include <iterator>
#include <tuple>

#include "ui/ColourConvert.h"
#include "ui/Fonts.h"
#include "ui/PngResource.h"
#include "ui/StartupSteps.h"
#include "ui/TDriveComboBox.h"
#include "ui/TEdit.h"
#include "ui/TForm1.h"
#include "ui/TGauge.h"
#include "ui/TLabel.h"
#include "ui/TMemo.h"
#include "ui/TOvalButton.h"
#include "ui/TPanel.h"

// The library is static, so its resources are registered by hand; the macro must be used outside
// any namespace.
static void initZelvoResources() {
    Q_INIT_RESOURCE(zelvo);
}

namespace zelvo {

namespace {

const QString kCaption = QStringLiteral("　Zelvo      Ver 1.2　　Varnel  ");

// Page backgrounds are 463 x 215; the CPU page's is one pixel taller.
constexpr int kPageWidth = 463;
constexpr int kPageHeight = 215;
constexpr int kCpuPageHeight = 216;

enum Style : unsigned { Plain = 0, Bold = 1, Italic = 2 };

QFont fontOf(FontFace face, int height, unsigned style = Plain) {
    return makeFont(face, height, (style & Bold) != 0, (style & Italic) != 0);
}

// Places `control` at (x, y) of its parent's client area.
void place(QWidget* control, int x, int y, int width, int height) {
    QPoint origin(0, 0);
    if (const auto* panel = qobject_cast<const TPanel*>(control->parentWidget()))
        origin = panel->clientOrigin();
    control->setGeometry(QRect(origin + QPoint(x, y), QSize(width, height)));
}

TPanel* makePanel(QWidget* parent, int x, int y, int width, int height, ColourValue colour) {
    auto* panel = new TPanel(parent);
    panel->setColor(colour);
    place(panel, x, y, width, height);
    return panel;
}

// Sizes the page control's page area to the page backgrounds, and its frame around them, in
// whatever style draws the tabs: the styles' own page areas are a few pixels wider than the pages,
// leaving a light strip at their right, or a row short of the CPU page's.
class PageAreaStyle : public QProxyStyle {
public:
    // The base is a fresh instance of the application's style, as a proxy owns its base.
    PageAreaStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override {
        if (element != SE_TabWidgetTabContents && element != SE_TabWidgetTabPane)
            return QProxyStyle::subElementRect(element, option, widget);
        const QRect pane = QProxyStyle::subElementRect(SE_TabWidgetTabPane, option, widget);
        const QRect contents = QProxyStyle::subElementRect(SE_TabWidgetTabContents, option, widget);
        const QRect page(contents.topLeft(), QSize(kPageWidth, kCpuPageHeight));
        if (element == SE_TabWidgetTabContents)
            return page;
        // The frame keeps the style's own widths, but stays within the control: where the tabs
        // leave less room below them than the page and the frame need, the page keeps its rows.
        const QMargins frame(contents.left() - pane.left(), contents.top() - pane.top(),
                             pane.right() - contents.right(), pane.bottom() - contents.bottom());
        return page.marginsAdded(frame) & option->rect;
    }
};

// A black page background with a single-line border in the window-frame colour.
TPanel* makePageBackground(QWidget* page, int height) {
    auto* panel = new TPanel(page);
    panel->setColor(colour::Black);
    panel->setBorderColor(colour::WindowFrame);
    panel->setGeometry(0, 0, kPageWidth, height);
    return panel;
}

// A page of the page control. The page area has the CPU page's height, one row more than the other
// pages' backgrounds; that row is black like them. Painted rather than set in the palette, which
// the page's controls would inherit.
class Page : public QWidget {
public:
    Page() { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void paintEvent(QPaintEvent* event) override { QPainter(this).fillRect(event->rect(), Qt::black); }
};

// An outline box: a white panel with a black one inside, one pixel in on every side.
void makeOutlineBox(QWidget* parent, int x, int y, int width, int height, TPanel*& outer, TPanel*& inner) {
    outer = makePanel(parent, x, y, width, height, colour::White);
    inner = makePanel(outer, 1, 1, width - 2, height - 2, colour::Black);
}

TLabel* makeLabel(QWidget* parent, int x, int y, int width, int height, const QString& text, ColourValue textColour,
                  const QFont& font, bool rightJustify = false) {
    auto* label = new TLabel(parent);
    place(label, x, y, width, height);
    label->setRightJustify(rightJustify);
    label->setFont(font);
    label->setFontColor(textColour);
    label->setText(text);
    return label;
}

enum class Access { ReadOnly, Typing };

TMemo* makeMemo(QWidget* parent, int x, int y, int width, int height, ColourValue textColour, const QFont& font,
                const QStringList& lines, Qt::Alignment alignment, Access access) {
    auto* memo = new TMemo(parent);
    place(memo, x, y, width, height);
    memo->setColor(colour::Black);
    memo->setFontColor(textColour);
    memo->setFont(font);
    memo->setAlignment(alignment);
    memo->setReadOnly(access == Access::ReadOnly);
    memo->setArrowCursor(true);
    memo->setLines(lines);
    return memo;
}

enum class MouseCursor { Arrow, Text };

TEdit* makeEdit(QWidget* parent, int x, int y, int width, int height, ColourValue back, ColourValue textColour,
                const QFont& font, const QString& text, MouseCursor cursor) {
    auto* edit = new TEdit(parent);
    place(edit, x, y, width, height);
    edit->setBorderless(true);
    edit->setColor(back);
    edit->setFontColor(textColour);
    edit->setFont(font);
    edit->setArrowCursor(cursor == MouseCursor::Arrow);
    edit->setText(text);
    return edit;
}

TGauge* makeGauge(QWidget* parent, int x, int y) {
    auto* gauge = new TGauge(parent);
    place(gauge, x, y, 100, 100);
    gauge->setKind(gkPie);
    gauge->setShowText(false);
    gauge->setBorderStyle(bsNone);
    gauge->setColor(colour::Black);
    gauge->setForeColor(colour::Red);
    gauge->setBackColor(colour::Navy);
    gauge->setFont(fontOf(FontFace::G, -20, Bold));
    gauge->setProgress(0);
    return gauge;
}

// The outer maroon panel and the inner panel with the caption, one pixel narrower and less tall.
void makeOvalButton(QWidget* parent, int x, int y, int width, int height, ColourValue colour, ColourValue textColour,
                    const QFont& font, const QString& caption, TPanel*& outer, TOvalButton*& inner) {
    auto* rim = new TOvalPanel(parent);
    rim->setColor(colour::Maroon);
    place(rim, x, y, width, height);
    outer = rim;
    inner = new TOvalButton(outer);
    place(inner, 0, 0, width - 1, height - 1);
    inner->setColor(colour);
    inner->setFontColor(textColour);
    inner->setFont(font);
    inner->setCaption(caption);
}

// Labels and gauges are drawn on their parent's surface, below every box, in form order.
void sendToBack(std::initializer_list<QWidget*> controls) {
    for (auto it = std::rbegin(controls); it != std::rend(controls); ++it)
        (*it)->lower();
}

// The usage caption, the pie gauge and its percentage label at the left of the disk, memory and CPU
// pages, with "100%" in red until the first figures come.
std::tuple<TLabel*, TGauge*, TLabel*> makeUsageGauge(TPanel* page) {
    auto* caption = makeLabel(page, 40, 55, 45, 15, QStringLiteral("使用率"), colour::White, fontOf(FontFace::G, -15));
    auto* gauge = makeGauge(page, 42, 82);
    auto* percentage =
        makeLabel(page, 96, 53, 44, 19, QStringLiteral("100%"), colour::Red, fontOf(FontFace::G, -19, Bold), true);
    sendToBack({caption, gauge, percentage});
    return {caption, gauge, percentage};
}

// The outline box of the disk and memory pages' figures: the captions total, used and free beside
// a right-aligned box each. Until the first figures come the boxes explain the page, the first one
// naming what it is about.
void makeUsageBoxes(TPanel* page, ColourValue textColour, const QStringList& subject, TPanel*& outer, TPanel*& inner,
                    const std::array<TLabel**, 3>& captions, const std::array<TMemo**, 3>& boxes) {
    static const QString kCaptions[] = {QStringLiteral("全容量"), QStringLiteral("使用量"), QStringLiteral("空容量")};
    const QStringList lines[] = {subject, {QStringLiteral("の使用状況を、")}, {QStringLiteral("大まかに表示。")}};
    makeOutlineBox(page, 195, 7, 254, 106, outer, inner);
    for (std::size_t i = 0; i < 3; ++i)
        *captions[i] =
            makeLabel(inner, 10, 15 + 30 * int(i), 45, 15, kCaptions[i], colour::White, fontOf(FontFace::G, -15));
    for (std::size_t i = 0; i < 3; ++i)
        *boxes[i] = makeMemo(inner, 60, 10 + 30 * int(i), 185, 30, textColour, fontOf(FontFace::M, -23, Bold | Italic),
                             lines[i], Qt::AlignRight, Access::ReadOnly);
    sendToBack({*captions[0], *captions[1], *captions[2]});
}

// A mouse press on the listed controls hides the caret of the focused box, after the press has
// given the box the focus; it shows again when a box next gets the focus by other means.
void hideFocusedCaret() {
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (auto* memo = qobject_cast<TMemo*>(widget)) {
            memo->hideCaret();
            return;
        }
        if (auto* edit = qobject_cast<TEdit*>(widget)) {
            edit->hideCaret();
            return;
        }
        if (widget->isWindow())
            return;
    }
}

void applyWindowColour(QWidget* window) {
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, toQColor(colour::ButtonFace));
    window->setPalette(palette);
}

// Follows the desktop's colour scheme for the window's button-face background.
class WindowColourFollower : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ApplicationPaletteChange && watched->isWidgetType())
            applyWindowColour(static_cast<QWidget*>(watched));
        return false;
    }
};

// The faces the form's controls are drawn in, by face, height in pixels and style.
struct FormFonts {
    QFont g12 = fontOf(FontFace::G, -12);
    QFont g13 = fontOf(FontFace::G, -13);
    QFont g15 = fontOf(FontFace::G, -15);
    QFont g15b = fontOf(FontFace::G, -15, Bold);
    QFont m19bi = fontOf(FontFace::M, -19, Bold | Italic);
    QFont m21b = fontOf(FontFace::M, -21, Bold);
    QFont m23bi = fontOf(FontFace::M, -23, Bold | Italic);
    QFont f13b = fontOf(FontFace::F, -13, Bold);
    QFont f15 = fontOf(FontFace::F, -15);
    QFont f15b = fontOf(FontFace::F, -15, Bold);
    QFont f16b = fontOf(FontFace::F, -16, Bold);
};

// Boxes that show text from the machine or the user draw what their face lacks from other faces;
// the program's own texts are all in the face.
void drawMissingGlyphsFromOtherFaces(std::initializer_list<QWidget*> boxes) {
    for (QWidget* box : boxes)
        box->setFont(withFallback(box->font()));
}

// Captions that show once the first figures are in.
void hideUntilFigures(std::initializer_list<TLabel*> captions) {
    for (TLabel* caption : captions)
        caption->setVisible(false);
}

// A press on these hides the focused box's caret; see hideFocusedCaret.
template <typename... Controls>
void hideCaretOnPress(Controls*... controls) {
    ((controls->OnMouseDown = hideFocusedCaret), ...);
}

// No context menu at all on these, not even the edit boxes' own.
void withoutContextMenu(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls)
        control->setContextMenuPolicy(Qt::PreventContextMenu);
}

}  // namespace

void TForm1::createWindow() {
    initZelvoResources();

    // --- window ---
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(QPixmap::fromImage(readPngResource(QStringLiteral(":/zelvo/zelvo.png")))));
    setFont(fontOf(FontFace::G, -12));
    applyWindowColour(this);
    installEventFilter(new WindowColourFollower(this));
    // The form's own place; the start-up sequence centres the window before it is shown.
    move(229, 132);
    setFixedSize(472, 242);
    markStartupStep("window-settings");

    PageControl1 = new QTabWidget(this);
    auto* pageAreaStyle = new PageAreaStyle;
    pageAreaStyle->setParent(PageControl1);
    PageControl1->setStyle(pageAreaStyle);
    PageControl1->setGeometry(0, 0, 472, 242);
    DiskTab = new Page;
    MemTab = new Page;
    CPUTab = new Page;
    BIOSTab = new Page;
    DisplayTab = new Page;
    UserTab = new Page;
    PageControl1->addTab(DiskTab, QStringLiteral("ディスク"));
    PageControl1->addTab(MemTab, QStringLiteral("メモリ"));
    PageControl1->addTab(CPUTab, QStringLiteral("CPU"));
    PageControl1->addTab(BIOSTab, QStringLiteral("BIOS"));
    PageControl1->addTab(DisplayTab, QStringLiteral("画面"));
    PageControl1->addTab(UserTab, QStringLiteral("ユーザー 情報"));
    PageControl1->setCurrentWidget(CPUTab);
    markStartupStep("tab-pages");
}

void TForm1::createCpuPage() {
    const FormFonts fonts;
    Panel10 = makePageBackground(CPUTab, kCpuPageHeight);
    std::tie(Label9, Gauge6, Label21) = makeUsageGauge(Panel10);
    makeOutlineBox(Panel10, 195, 7, 254, 47, Panel11, Panel12);
    Label16 = makeLabel(Panel12, 10, 15, 45, 15, QStringLiteral("周波数"), colour::WindowColour, fonts.g15);
    Memo7 = makeMemo(Panel12, 60, 10, 185, 30, colour::TooltipBackground, fonts.m23bi,
                     {QStringLiteral("CPUクロック   ")}, Qt::AlignRight, Access::ReadOnly);
    makeOvalButton(Panel10, 270, 160, 115, 26, colour::Green, colour::White, fonts.g15, QStringLiteral("クロック 計測"),
                   Panel13, Keisoku);
    makeOutlineBox(Panel10, 195, 65, 254, 74, Panel32, Panel33);
    Label26 = makeLabel(Panel33, 10, 15, 31, 13, QStringLiteral("Name"), colour::White, fonts.g13);
    Label27 = makeLabel(Panel33, 10, 40, 40, 13, QStringLiteral("Vendor"), colour::White, fonts.g13);
    Edit4 = makeEdit(Panel33, 55, 40, 185, 23, colour::Black, colour::Aqua, fonts.g13, QStringLiteral("Edit4"),
                     MouseCursor::Arrow);
    M11 = makeEdit(Panel33, 55, 15, 185, 20, colour::Black, colour::Yellow, fonts.g13, QStringLiteral("M11"),
                   MouseCursor::Text);
    sendToBack({Label16});
    sendToBack({Label26, Label27});

    drawMissingGlyphsFromOtherFaces({M11, Edit4});
    hideUntilFigures({Label16});
    hideCaretOnPress(Memo7, Edit4);
    withoutContextMenu({Memo7, Edit4, Label26, Label27, Panel33});
    markStartupStep("cpu-page");
}

void TForm1::createOtherPages() {
    const FormFonts fonts;
    const auto& [g12, g13, g15, g15b, m19bi, m21b, m23bi, f13b, f15, f15b, f16b] = fonts;
    constexpr auto Right = Qt::AlignRight;
    constexpr auto Left = Qt::AlignLeft;

    // --- disk page ---
    Panel2 = makePageBackground(DiskTab, kPageHeight);
    std::tie(Label12, Gauge5, Label20) = makeUsageGauge(Panel2);
    DriveComboBox1 = new TDriveComboBox(DriveRowsOf(platform_.drives(), platform_.text()), Panel2);
    markStartupStep("drive-list");
    place(DriveComboBox1, 16, 13, 150, 18);
    DriveComboBox1->setColor(colour::Black);
    DriveComboBox1->setFontColor(colour::WindowColour);
    DriveComboBox1->setFont(g12);
    DriveComboBox1->setCursor(Qt::PointingHandCursor);
    // The one control of the pages that the style draws: the same style and frame colours on every
    // platform, as the pages are the same picture everywhere and only the tab strip follows the
    // platform. Its rows keep the desktop's colours.
    auto* comboStyle = QStyleFactory::create(QStringLiteral("Fusion"));
    comboStyle->setParent(DriveComboBox1);
    DriveComboBox1->setStyle(comboStyle);
    DriveComboBox1->setPalette(comboStyle->standardPalette());
    makeUsageBoxes(Panel2, colour::White, {QStringLiteral("ハードディスク等"), {}, {}}, Panel3, Panel4,
                   {&Label2, &Label3, &Label4}, {&Memo1, &Memo2, &Memo3});
    makeOutlineBox(Panel2, 195, 125, 254, 78, Panel5, Panel6);
    Label15 = makeLabel(Panel6, 10, 15, 105, 15, QStringLiteral("ファイルシステム"), colour::White, g15);
    Label14 = makeLabel(Panel6, 10, 45, 82, 15, QStringLiteral("シリアル番号"), colour::White, g15);
    Memo10 = makeMemo(Panel6, 120, 10, 125, 25, colour::Aqua, m19bi, {}, Right, Access::ReadOnly);
    Memo9 = makeMemo(Panel6, 120, 40, 125, 25, colour::Aqua, m19bi, {}, Right, Access::ReadOnly);
    sendToBack({Label15, Label14});
    diskUsage_ = {{Label2, Label3, Label4, Label12}, {Memo1, Memo2, Memo3}, Label20, Gauge5};

    // --- memory page ---
    Panel7 = makePageBackground(MemTab, kPageHeight);
    std::tie(Label8, Gauge1, Label13) = makeUsageGauge(Panel7);
    makeUsageBoxes(Panel7, colour::TooltipBackground, {QStringLiteral("メイン・メモリー")}, Panel8, Panel9,
                   {&Label5, &Label6, &Label7}, {&Memo4, &Memo5, &Memo6});
    memoryUsage_ = {{Label5, Label6, Label7, Label8, Label13}, {Memo4, Memo5, Memo6}, Label13, Gauge1};

    // --- BIOS page ---
    Panel14 = makePageBackground(BIOSTab, kPageHeight);
    makeOutlineBox(Panel14, 20, 20, 415, 170, Panel26, Panel27);
    Memo8 = makeMemo(Panel27, 20, 40, 380, 120, colour::Lime, g15b, {}, Left, Access::ReadOnly);
    Edit1 = makeEdit(Panel27, 0, 15, 413, 30, colour::Black, colour::Aqua, m21b,
                     QStringLiteral("           メインボード　バイオス情報"), MouseCursor::Arrow);

    // --- display page ---
    Panel28 = makePageBackground(DisplayTab, kPageHeight);
    makeOutlineBox(Panel28, 20, 20, 415, 170, Panel29, Panel30);
    Disp1 = makeMemo(Panel30, 0, 40, 413, 120, colour::Lime, f16b, {}, Left, Access::Typing);
    Edit2 = makeEdit(Panel30, 0, 15, 413, 30, colour::Black, colour::Aqua, m21b,
                     QStringLiteral("　　　　　　ディスプレイ（画面）情報"), MouseCursor::Arrow);

    // --- user page ---
    Panel1 = makePageBackground(UserTab, kPageHeight);
    M1 = makeMemo(Panel1, 255, 150, 190, 50, colour::Lime, f15, {QStringLiteral("M1")}, Left, Access::Typing);
    makeOutlineBox(Panel1, 2, 2, 240, 200, Panel16, Panel17);
    Label23 = makeLabel(Panel17, 5, 140, 51, 15, QStringLiteral("ＰＣ名"), colour::White, f15b);
    Name1 = makeMemo(Panel17, 5, 30, 55, 41, colour::White, f15b, {QStringLiteral("使用者")}, Left, Access::Typing);
    Company1 = makeMemo(Panel17, 5, 85, 55, 41, colour::White, f15b, {QStringLiteral("会社名")}, Left, Access::Typing);
    NowName = makeMemo(Panel17, 60, 30, 175, 50, colour::Aqua, f15b, {}, Left, Access::Typing);
    NowCompany = makeMemo(Panel17, 60, 85, 175, 50, colour::Yellow, f15b, {}, Left, Access::Typing);
    NowPCName = makeMemo(Panel17, 60, 140, 175, 50, colour::Lime, f15b, {}, Left, Access::Typing);
    sendToBack({Label23});

    // The editor box, over the right part of Panel16 while it is shown.
    Panel20 = makePanel(Panel1, 150, 2, 300, 140, colour::Blue);
    P2 = makePanel(Panel20, 1, 1, 298, 138, colour::Black);
    Label10 = makeLabel(P2, 5, 22, 45, 13, QStringLiteral("使用者"), colour::White, f13b);
    Label11 = makeLabel(P2, 5, 57, 45, 13, QStringLiteral("会社名"), colour::White, f13b);
    Label25 = makeLabel(P2, 5, 92, 45, 13, QStringLiteral("ＰＣ名"), colour::White, f13b);
    Panel21 = makePanel(P2, 50, 20, 150, 20, colour::Silver);
    Panel34 = makePanel(Panel21, 1, 1, 148, 18, colour::Navy);
    NewName = makeEdit(Panel34, 5, 0, 140, 18, colour::Navy, colour::Aqua, g15b, QStringLiteral("NewName"),
                       MouseCursor::Text);
    Panel22 = makePanel(P2, 50, 55, 150, 20, colour::Silver);
    Panel35 = makePanel(Panel22, 1, 1, 148, 18, colour::Navy);
    NewCompany = makeEdit(Panel35, 5, 0, 140, 18, colour::Navy, colour::Yellow, g15b, QStringLiteral("NewCompany"),
                          MouseCursor::Text);
    makeOvalButton(P2, 215, 55, 70, 26, colour::Green, colour::Yellow, g12, QStringLiteral("登　録"), Panel23, Touroku);
    makeOvalButton(P2, 215, 88, 70, 26, colour::Olive, colour::Silver, g12, QStringLiteral("キャンセル"), Panel24,
                   Cancel);
    Panel31 = makePanel(P2, 50, 90, 150, 20, colour::Silver);
    Panel36 = makePanel(Panel31, 1, 1, 148, 18, colour::Navy);
    NewPCName = makeEdit(Panel36, 5, 0, 140, 18, colour::Navy, colour::Lime, g15b, QStringLiteral("NewPCName"),
                         MouseCursor::Text);
    sendToBack({Label10, Label11, Label25});
    Panel20->setVisible(false);

    makeOvalButton(Panel1, 310, 100, 70, 26, colour::Teal, colour::White, g12, QStringLiteral("登録変更"), Panel25,
                   Change);

    drawMissingGlyphsFromOtherFaces(
        {Memo8, Memo10, NowName, NowCompany, NowPCName, NewName, NewCompany, NewPCName, DriveComboBox1});
    hideUntilFigures({Label12, Label2, Label3, Label4, Label5, Label6, Label7});
    hideCaretOnPress(Memo1, Memo2, Memo3, Memo4, Memo5, Memo6, Memo8, Memo9, Memo10, Disp1, M1, Name1, Company1,
                     NowName, NowCompany, NowPCName, Edit1, Edit2, Label23);
    withoutContextMenu({Memo1,   Memo2,      Memo3,     Memo4,   Memo5,   Memo6,    Memo8,   Memo9,      Memo10,
                        Edit1,   Edit2,      Disp1,     M1,      Name1,   Company1, NowName, NowCompany, NowPCName,
                        NewName, NewCompany, NewPCName, Label10, Label11, Label23,  Label25});
    markStartupStep("other-pages");
}

}  // namespace zelvo
