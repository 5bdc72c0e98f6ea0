#include "editor/editor_toolbar.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

#include "editor/editor_controls.h"
#include "platform/twips.h"
#include "widgets/toolbar_icons.h"
#include "widgets/toolbar_strip.h"

namespace korvex::editor {

using platform::twips;
using ui::kIconAccent;
using ui::kIconInk;
using ui::kIconPaper;

namespace {

constexpr int kGenerateWidthTwips = 1095;
constexpr int kGroupWidthTwips = 1815;
// The group keeps this far from the strip's right edge, clear of the pane's scroll bar.
constexpr int kGroupGapTwips = 60;

void drawLetter(QPainter& p, int pixelSize, const QPointF& at) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setBold(true);
    font.setPixelSize(pixelSize);
    p.setFont(font);
    p.setPen(kIconInk);
    p.drawText(at, QStringLiteral("A"));
}

void drawFontSize(QPainter& p, bool larger) {
    drawLetter(p, larger ? 50 : 34, larger ? QPointF(2, 54) : QPointF(8, 50));
    p.setPen(QPen(kIconAccent, 6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(42, 16), QPointF(62, 16));
    if (larger) {
        p.drawLine(QPointF(52, 6), QPointF(52, 26));
    }
}

void drawFontSmaller(QPainter& p) {
    drawFontSize(p, false);
}

void drawFontLarger(QPainter& p) {
    drawFontSize(p, true);
}

void drawWordWrap(QPainter& p) {
    p.setPen(QPen(kIconInk, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 12), QPointF(58, 12));
    p.drawLine(QPointF(6, 52), QPointF(26, 52));
    // A line that runs to the edge and comes back on the next.
    QPainterPath back;
    back.moveTo(6, 30);
    back.lineTo(46, 30);
    back.arcTo(QRectF(36, 30, 22, 22), 90, -180);
    back.lineTo(40, 52);
    p.setPen(QPen(kIconAccent, 5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(back);
    p.setPen(Qt::NoPen);
    p.setBrush(kIconAccent);
    p.drawPolygon(QPolygonF({QPointF(32, 52), QPointF(42, 44), QPointF(42, 60)}));
}

void drawSave(QPainter& p) {
    p.setPen(QPen(kIconInk, 3));
    p.setBrush(kIconInk);
    p.drawRoundedRect(QRectF(8, 8, 48, 48), 4, 4);
    p.setBrush(kIconPaper);
    p.drawRect(QRectF(16, 8, 32, 18));
    p.drawRect(QRectF(16, 36, 32, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(kIconInk);
    p.drawRect(QRectF(38, 11, 6, 12));
}

void drawArrow(QPainter& p, qreal left, qreal top) {
    p.setPen(Qt::NoPen);
    p.setBrush(kIconAccent);
    QPainterPath arrow;
    arrow.moveTo(left, top + 6);
    arrow.lineTo(left + 14, top + 6);
    arrow.lineTo(left + 14, top);
    arrow.lineTo(left + 26, top + 12);
    arrow.lineTo(left + 14, top + 24);
    arrow.lineTo(left + 14, top + 18);
    arrow.lineTo(left, top + 18);
    arrow.closeSubpath();
    p.drawPath(arrow);
}

void drawImport(QPainter& p) {
    ui::drawTextPage(p, QRectF(22, 4, 36, 54));
    // Text comes in from outside onto the page.
    drawArrow(p, 2, 20);
}

void drawRuntime(QPainter& p) {
    p.setPen(QPen(kIconInk, 3));
    p.setBrush(kIconPaper);
    p.drawRoundedRect(QRectF(4, 8, 56, 46), 4, 4);
    p.setBrush(kIconInk);
    p.drawRect(QRectF(4, 8, 56, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(kIconAccent);
    p.drawPolygon(QPolygonF({QPointF(24, 24), QPointF(44, 36), QPointF(24, 48)}));
}

void drawExternalEditor(QPainter& p) {
    ui::drawTextPage(p, QRectF(6, 4, 38, 54));
    // A pencil across the page.
    p.translate(44, 28);
    p.rotate(45);
    p.setPen(QPen(kIconInk, 2));
    p.setBrush(kIconAccent);
    p.drawRect(QRectF(-6, -22, 12, 34));
    p.setBrush(kIconPaper);
    p.drawPolygon(QPolygonF({QPointF(-6, 12), QPointF(6, 12), QPointF(0, 24)}));
}

}  // namespace

EditorToolBar::EditorToolBar(QWidget* parent) : QWidget(parent), group_(new QWidget(this)) {
    setObjectName(editorControls::toolBar);
    group_->setObjectName(editorControls::toolGroup);
    group_->resize(twips(kGroupWidthTwips), twips(ui::kToolButtonTwips));
    const struct {
        const char* name;
        const char* toolTip;
        const char* themeName;
        ui::IconDrawing draw;  // none: the generated-text window's Generate picture
        bool inGroup;
        int leftTwips;
    } buttons[] = {
        {editorControls::fontSmaller, "Smaller Font", "format-font-size-less", drawFontSmaller,
         false, 0},
        {editorControls::fontLarger, "Larger Font", "format-font-size-more", drawFontLarger, false,
         600},
        {editorControls::wordWrap, "Word Wrap", "format-text-wrap", drawWordWrap, false, 1200},
        {editorControls::save, "Save Script (or Press F8)", "document-save", drawSave, false, 1800},
        {editorControls::generate, "Generate (or Press F5)", "", nullptr, false, 2400},
        {editorControls::importText, "Import form Text", "document-import", drawImport, true, 0},
        {editorControls::runtime, "Create a EXE File (File Stand alone)",
         "application-x-executable", drawRuntime, true, 600},
        {editorControls::externalEditor, "External Editor (or Press F9)", "accessories-text-editor",
         drawExternalEditor, true, 1200},
    };
    int index = 0;
    for (const auto& b : buttons) {
        QWidget* owner = b.inGroup ? group_ : this;
        // Save shows its "[OK]" over its picture.
        QToolButton* button =
            index == int(Button::Save) ? new ui::CaptionButton(owner) : new QToolButton(owner);
        const int width =
            index == int(Button::Generate) ? kGenerateWidthTwips : ui::kToolButtonTwips;
        ui::setUpToolbarButton(*button, b.name,
                               b.draw != nullptr ? ui::themedIcon(b.themeName, b.draw)
                                                 : ui::toolbarIcon(ui::ToolbarIcon::Generate),
                               b.toolTip, b.leftTwips, width);
        buttons_[index++] = button;
    }
    setFixedHeight(twips(ui::kToolBarHeightTwips));
}

QToolButton* EditorToolBar::button(Button which) const {
    return buttons_[int(which)];
}

void EditorToolBar::showSaved(bool saved) {
    button(Button::Save)->setText(saved ? QStringLiteral("[OK]") : QString());
}

void EditorToolBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    group_->move(width() - group_->width() - twips(kGroupGapTwips), 0);
}

}  // namespace korvex::editor
