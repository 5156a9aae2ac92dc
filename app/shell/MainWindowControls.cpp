#include "app/shell/MainWindowControls.h"

#include "app/widgets/Twips.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QWebEngineView>

namespace caltrix {
namespace {

struct BannerBox {
    int picture;
    QRect boxTwips;
    int browser;
    QRect viewTwips;
};

// Left banner, middle banner, right banner and the hidden box; each browser
// sits at a small negative offset, larger than its box, which clips it.
const BannerBox kBanners[] = {
    {2, {120, 10080, 5025, 1485}, 1, {-30, -30, 5415, 1800}},
    {1, {5130, 10080, 5025, 1500}, 3, {-30, -15, 5415, 1815}},
    {3, {10140, 10095, 5025, 1425}, 2, {-30, -75, 5415, 1800}},
    {5, {255, 5805, 4905, 1425}, 4, {-30, -45, 5415, 1800}},
};

QRect inPixels(const QRect& twips) { return TwipsRect(twips.x(), twips.y(), twips.width(), twips.height()); }

const int kLinkButtonLefts[] = {0, 1170, 2340, 3510, 4680, 5850, 7020, 8190};

QWidget* newBox(QWidget* parent, const QRect& geometry) {
    auto* box = new QWidget(parent);
    box->setGeometry(geometry);
    return box;
}

QFont fontOf(const char* family, double points, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(LayoutPoints(points));
    font.setBold(bold);
    return font;
}

QPushButton* newButton(QWidget* parent, const QRect& geometry, const QString& caption, double points) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFont(fontOf("Verdana", points, true));
    return button;
}

QLabel* newLabel(QWidget* parent, const QRect& geometry, const QFont& font, const QColor& colour) {
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

void buildBrowserArea(QWidget* window, const BrowserFactory& newBrowser, MainWindowControls& controls) {
    controls.picture7 = newBox(window, TwipsRect(135, 15, 10035, 7155));
    controls.webBrowser5 = newBrowser(controls.picture7);
    controls.webBrowser5->setGeometry(TwipsRect(-75, 270, 10080, 6885));
    controls.webBrowser[5] = controls.webBrowser5;
    for (int i = 0; i < 8; ++i)
        controls.command[3 + i] =
            newButton(controls.picture7, TwipsRect(kLinkButtonLefts[i], -15, 1165, 315), {}, 8.25);
    controls.command[2] = newButton(controls.picture7, TwipsRect(9360, -15, 310, 315), QStringLiteral("_"), 8.25);
    controls.command[1] = newButton(controls.picture7, TwipsRect(9675, -15, 310, 315), QStringLiteral("X"), 9.75);
}

void buildBanners(QWidget* window, const BrowserFactory& newBrowser, MainWindowControls& controls) {
    for (const auto& banner : kBanners) {
        QWidget* box = newBox(window, inPixels(banner.boxTwips));
        QWebEngineView* view = newBrowser(box);
        view->setGeometry(inPixels(banner.viewTwips));
        controls.picture[static_cast<std::size_t>(banner.picture)] = box;
        controls.webBrowser[static_cast<std::size_t>(banner.browser)] = view;
    }
}

void buildTickerAndClock(QWidget* window, MainWindowControls& controls) {
    // The clock's shadow lies under the clock; the ticker lies over both and
    // over the banner boxes of the bottom strip.
    controls.label11 =
        newLabel(window, TwipsRect(11520, 10620, 3405, 525), fontOf("Times New Roman", 27.75, false), QColor(0, 64, 0));
    controls.label10 = newLabel(window, TwipsRect(11400, 10575, 3480, 555), fontOf("Times New Roman", 27.75, false),
                                QColor(0, 255, 0));
    controls.label5 = newLabel(window, TwipsRect(90, 10860, 15000, 630), fontOf("Courier New", 24, true), Qt::white);
    controls.label5->setText(QStringLiteral("..."));
}

struct PanelPlace {
    int left, top, height;
};

// Slots 1-5 form a column right of the main browser; 6-8 and 9-11 two rows below it.
const PanelPlace kPanelPlaces[] = {
    {10170, 0, 1470},    {10170, 1440, 1440}, {10170, 2865, 1440}, {10170, 4290, 1440},
    {10170, 5730, 1440}, {150, 7155, 1485},   {5160, 7170, 1470},  {10170, 7170, 1470},
    {150, 8640, 1470},   {5160, 8640, 1470},  {10170, 8625, 1485},
};

}  // namespace

QRect SlotPanelRect(int slot) {
    const PanelPlace& place = kPanelPlaces[slot - 1];
    return TwipsRect(place.left, place.top, 5010, place.height);
}

QSize DesignSize() { return TwipsRect(0, 0, 15240, 11400).size(); }

MainWindowControls BuildMainWindowControls(QWidget* window, const BrowserFactory& newBrowser) {
    MainWindowControls controls;
    buildBrowserArea(window, newBrowser, controls);
    buildBanners(window, newBrowser, controls);
    buildTickerAndClock(window, controls);
    return controls;
}

}  // namespace caltrix
