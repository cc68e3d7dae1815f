// Text on the list's fixed colours reads in any theme: measured from the drawn pixels, under a
// light and a dark palette, as WCAG AA asks (4.5:1).

#include "RecordingPrompter.h"
#include "results/ResultStateBuilder.h"
#include "ui/TamberMain.h"

#include <QApplication>
#include <QHash>
#include <QHeaderView>
#include <QImage>
#include <QPalette>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

using namespace pellmora;

namespace {

double Luminance(QRgb rgb) {
    auto channel = [](int c) {
        const double v = c / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
           0.0722 * channel(qBlue(rgb));
}

double Contrast(QRgb a, QRgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of the text drawn in area against the ground it is drawn on: the most common
// colour is the ground, the colour farthest from it the text's own (glyph cores are solid).
double TextContrast(const QImage& image, const QRect& area) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb ground = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) std::tie(ground, most) = std::make_pair(it.key(), it.value());
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, Contrast(ground, it.key()));
    return best;
}

QPalette DarkPalette() {
    QPalette dark;
    const std::pair<QPalette::ColorRole, QColor> roles[] = {
        {QPalette::Window, QColor(0x35, 0x35, 0x35)},
        {QPalette::WindowText, Qt::white},
        {QPalette::Base, QColor(0x2a, 0x2a, 0x2a)},
        {QPalette::AlternateBase, Qt::black},
        {QPalette::Text, QColor(0xee, 0xee, 0xee)},
        {QPalette::Button, QColor(0x35, 0x35, 0x35)},
        {QPalette::ButtonText, Qt::white},
        {QPalette::Highlight, QColor(0x2a, 0x82, 0xda)},
        {QPalette::HighlightedText, Qt::white},
        {QPalette::Link, QColor(0x8a, 0xb8, 0xff)}};
    for (const auto& [role, colour] : roles)
        dark.setColor(role, colour);
    return dark;
}

class ContrastTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        saved_ = QApplication::palette();
        if (GetParam()) QApplication::setPalette(DarkPalette());
    }
    void TearDown() override { QApplication::setPalette(saved_); }

  private:
    QPalette saved_;
};

TEST_P(ContrastTest, RowsAndHeaderReadOnTheirFixedColours) {
    test::RecordingPrompter prompter;
    TMainForm form(prompter, [](const QUrl&) { return true; });
    form.State =
        test::ResultState({"/data/photos/"}, {{.Name = "green band", .Group = 1},
                                              {.Name = "white band", .Group = 2},
                                              {.Name = "resolved", .Group = 2, .Resolved = 1},
                                              {.Name = "selected", .Group = 3}});
    form.SetResultRowCount(4);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* list = form.findChild<QTableView*>(QStringLiteral("AdvListView1"));
    list->selectRow(3);
    const QImage rows = list->viewport()->grab().toImage();
    for (int row = 0; row < 4; ++row) {
        // The folder column: text only, no check box.
        const QRect cell = list->visualRect(list->model()->index(row, 1)).adjusted(1, 1, -1, -1);
        EXPECT_GE(TextContrast(rows, cell), 4.5) << "row " << row << (GetParam() ? " dark" : "");
    }
    QHeaderView* header = list->horizontalHeader();
    const QImage captions = header->viewport()->grab().toImage();
    const QRect section(header->sectionViewportPosition(1) + 2, 2, header->sectionSize(1) - 4,
                        header->height() - 4);
    EXPECT_GE(TextContrast(captions, section), 4.5) << (GetParam() ? "dark" : "light");
}

INSTANTIATE_TEST_SUITE_P(LightAndDark, ContrastTest, ::testing::Values(false, true));

} // namespace
