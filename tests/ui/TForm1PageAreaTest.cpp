// The page area is the page backgrounds' size in every style Qt may pick: no strip of the tab
// pane shows beside a page, and no row of the CPU page is cut.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QStyle>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTest>

#include "SimWindow.h"
#include "platform/sim/SimMachine.h"
#include "ui/TPanel.h"

namespace zelvo {
namespace {

class PageArea : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        previous_ = QApplication::style()->name();
        QApplication::setStyle(QStyleFactory::create(QString::fromLatin1(GetParam())));
    }
    void TearDown() override { QApplication::setStyle(QStyleFactory::create(previous_)); }

private:
    QString previous_;
};

TEST_P(PageArea, EveryPageBackgroundFillsThePageArea) {
    test::SimWindow w(platform::makeNtMachine());
    TForm1& f = *w.form;
    f.FormCreate();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    const TPanel* backgrounds[] = {f.Panel2, f.Panel7, f.Panel10, f.Panel14, f.Panel28, f.Panel1};
    for (int index = 0; index < f.PageControl1->count(); ++index) {
        SCOPED_TRACE(testing::Message() << GetParam() << " page " << index);
        f.PageControl1->setCurrentIndex(index);
        QWidget* page = f.PageControl1->widget(index);
        const QImage window = f.grab().toImage();
        const QRect area(page->mapTo(&f, QPoint(0, 0)), page->size());
        EXPECT_EQ(area.size(), QSize(463, 216));
        EXPECT_TRUE(f.rect().contains(area));
        // The background's right column is the page area's right column: black to the last row.
        for (int y = area.top(); y <= area.bottom(); ++y)
            ASSERT_EQ(window.pixel(area.right(), y), qRgb(0, 0, 0)) << "row " << y - area.top();
        // The background's last row is shown whole.
        const QRect background(backgrounds[index]->mapTo(&f, QPoint(0, 0)), backgrounds[index]->size());
        EXPECT_TRUE(area.contains(background));
        for (int x = background.left(); x <= background.right(); ++x)
            ASSERT_EQ(window.pixel(x, background.bottom()), qRgb(0, 0, 0)) << "column " << x - area.left();
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, PageArea, testing::Values("fusion", "windows"));

}  // namespace
}  // namespace zelvo
