#include "widgets/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace korvex::ui {
namespace {

void drawExportText(QPainter& p) {
    drawTextPage(p, QRectF(8, 4, 36, 48));
    // An arrow leaving the page: the text goes out to a file.
    p.setPen(Qt::NoPen);
    p.setBrush(kIconAccent);
    QPainterPath arrow;
    arrow.moveTo(34, 40);
    arrow.lineTo(48, 40);
    arrow.lineTo(48, 32);
    arrow.lineTo(62, 46);
    arrow.lineTo(48, 60);
    arrow.lineTo(48, 52);
    arrow.lineTo(34, 52);
    arrow.closeSubpath();
    p.drawPath(arrow);
}

void drawCopyAll(QPainter& p) {
    drawTextPage(p, QRectF(6, 4, 34, 44));
    drawTextPage(p, QRectF(24, 16, 34, 44));
}

void drawStatistics(QPainter& p) {
    p.setPen(QPen(kIconInk, 3));
    p.drawLine(QPointF(8, 6), QPointF(8, 56));
    p.drawLine(QPointF(8, 56), QPointF(60, 56));
    p.setPen(Qt::NoPen);
    p.setBrush(kIconAccent);
    p.drawRect(QRectF(14, 36, 10, 18));
    p.setBrush(kIconInk);
    p.drawRect(QRectF(29, 18, 10, 36));
    p.setBrush(kIconAccent);
    p.drawRect(QRectF(44, 28, 10, 26));
}

void drawGenerate(QPainter& p) {
    // A circle of arrow: once more from the start.
    p.setPen(QPen(kIconAccent, 7, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(12, 12, 40, 40), 100 * 16, 280 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kIconAccent);
    QPainterPath head;
    head.moveTo(28, 2);
    head.lineTo(44, 12);
    head.lineTo(28, 22);
    head.closeSubpath();
    p.drawPath(head);
}

IconDrawing drawing(ToolbarIcon which) {
    switch (which) {
        case ToolbarIcon::ExportText:
            return drawExportText;
        case ToolbarIcon::CopyAll:
            return drawCopyAll;
        case ToolbarIcon::Statistics:
            return drawStatistics;
        case ToolbarIcon::Generate:
            return drawGenerate;
    }
    return drawCopyAll;
}

const char* themeName(ToolbarIcon which) {
    switch (which) {
        case ToolbarIcon::ExportText:
            return "document-save-as";
        case ToolbarIcon::CopyAll:
            return "edit-copy";
        case ToolbarIcon::Statistics:
            return "view-statistics";
        case ToolbarIcon::Generate:
            return "view-refresh";
    }
    return "";
}

}  // namespace

QIcon toolbarIcon(ToolbarIcon which) {
    return themedIcon(themeName(which), drawing(which));
}

QIcon themedIcon(const char* themeName, IconDrawing draw) {
    QIcon fallback;
    // Drawn on the design square and scaled, so every size comes out sharp.
    for (int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(qreal(size) / kIconDesignSize, qreal(size) / kIconDesignSize);
        draw(p);
        p.end();
        fallback.addPixmap(pixmap);
    }
    return QIcon::fromTheme(QString::fromLatin1(themeName), fallback);
}

void drawTextPage(QPainter& p, const QRectF& page) {
    p.setPen(QPen(kIconInk, 3));
    p.setBrush(kIconPaper);
    p.drawRoundedRect(page, 3, 3);
    p.setPen(QPen(kIconInk, 2.5));
    for (int line = 0; page.top() + 12 + 8 * line < page.bottom() - 8; ++line) {
        const qreal y = page.top() + 12 + 8 * line;
        p.drawLine(QPointF(page.left() + 8, y), QPointF(page.right() - 8, y));
    }
}

void CaptionButton::paintEvent(QPaintEvent* event) {
    QToolButton::paintEvent(event);
    if (text().isEmpty()) {
        return;
    }
    QPainter p(this);
    const QRect box = p.fontMetrics().boundingRect(rect(), Qt::AlignCenter, text());
    // A pale plate under the text keeps it legible over any picture.
    p.fillRect(box.adjusted(-2, 0, 2, 0), QColor(255, 255, 255, 200));
    p.setPen(palette().color(QPalette::ButtonText));
    p.drawText(rect(), Qt::AlignCenter, text());
}

}  // namespace korvex::ui
