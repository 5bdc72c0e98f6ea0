#include "shell/main_toolbar.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "platform/twips.h"
#include "shell/main_controls.h"
#include "widgets/toolbar_strip.h"
#include "widgets/window_parts.h"

namespace korvex::ui {

using platform::twips;

namespace {

constexpr int kButtonTwips = kToolButtonTwips;
constexpr int kButtonStepTwips = kToolButtonStepTwips;
constexpr int kBarHeightTwips = kToolBarHeightTwips;
constexpr int kButtonTopTwips = 30;
constexpr int kPanelWidthTwips = 3015;
constexpr int kPanelGapTwips = 120;

void fill(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

}  // namespace

MainToolBar::MainToolBar(QWidget* parent) : QWidget(parent), panel_(new QWidget(this)) {
    setObjectName(mainControls::toolBar);
    panel_->setObjectName(mainControls::panel);
    // The bar takes the focus from the buttons, so it must be able to hold it.
    setFocusPolicy(Qt::ClickFocus);
    setAutoFillBackground(true);
    panel_->setAutoFillBackground(true);
    setFixedHeight(twips(kBarHeightTwips));
    panel_->setGeometry(0, 0, twips(kPanelWidthTwips), twips(kBarHeightTwips));
}

QPushButton* MainToolBar::addButton(Group group, const QString& name, const QString& toolTip,
                                    const QIcon& icon, Focus focus, std::function<void()> command) {
    const bool left = group == Group::Left;
    QWidget* owner = left ? static_cast<QWidget*>(this) : panel_;
    int& count = left ? leftCount_ : rightCount_;

    auto* button = new QPushButton(owner);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    button->setAccessibleName(accessibleNameOf(toolTip));
    button->setIcon(icon);
    const int side = twips(kButtonTwips);
    button->setIconSize(QSize(side * 2 / 3, side * 2 / 3));
    button->setGeometry(twips(count * kButtonStepTwips), twips(kButtonTopTwips), side, side);
    button->setAutoDefault(false);
    ++count;

    connect(button, &QPushButton::clicked, this, [this, focus, command = std::move(command)] {
        if (focus == Focus::ToBar) {
            setFocus(Qt::OtherFocusReason);
        }
        command();
    });
    return button;
}

void MainToolBar::setArrangementButtons(QList<QPushButton*> buttons) {
    arrangementButtons_ = std::move(buttons);
}

void MainToolBar::setArrangementButtonsVisible(bool visible) {
    for (QPushButton* button : arrangementButtons_) {
        button->setVisible(visible);
    }
}

void MainToolBar::setColours(const QColor& bar, const std::optional<QColor>& panel) {
    fill(this, bar);
    fill(panel_, panel.value_or(QApplication::palette().color(QPalette::Window)));
}

void MainToolBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placePanel();
}

void MainToolBar::placePanel() {
    panel_->move(width() - panel_->width() - twips(kPanelGapTwips), 0);
}

QIcon drawnIcon(Picture picture) {
    constexpr int kSide = 32;
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 2));
    auto window = [&](const QRect& r) {
        painter.fillRect(r, QColor(245, 245, 245));
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 5), QColor(70, 110, 180));
        painter.drawRect(r);
    };
    switch (picture) {
        case Picture::Cascade:
            window(QRect(3, 3, 18, 14));
            window(QRect(8, 9, 18, 14));
            window(QRect(13, 15, 16, 14));
            break;
        case Picture::Horizontal:
            window(QRect(3, 3, 26, 12));
            window(QRect(3, 17, 26, 12));
            break;
        case Picture::Vertical:
            window(QRect(3, 3, 12, 26));
            window(QRect(17, 3, 12, 26));
            break;
        case Picture::WebSite:
            // A globe: the outline, the equator and two meridians.
            painter.setBrush(QColor(120, 170, 230));
            painter.setPen(QPen(QColor(30, 70, 140), 2));
            painter.drawEllipse(QRect(3, 3, 26, 26));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(QRect(10, 3, 12, 26));
            painter.drawLine(3, 16, 29, 16);
            painter.drawLine(16, 3, 16, 29);
            break;
    }
    return QIcon(pixmap);
}

}  // namespace korvex::ui
