#include "shell/program_info.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace korvex::ui {

QString mainWindowTitle() {
    return kProgramTitle + QLatin1Char(' ') + kVersion;
}

QIcon programIcon() {
    QIcon icon;
    for (const int side : {16, 32, 64}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 90, 160));
        painter.drawRoundedRect(QRectF(0, 0, side, side), side / 6.0, side / 6.0);
        QFont font;
        font.setBold(true);
        font.setPixelSize(side * 9 / 16);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, side, side), Qt::AlignCenter, QStringLiteral("K5"));
        icon.addPixmap(pixmap);
    }
    return icon;
}

QString aboutText(const QDate& today, const QString& appFolder) {
    return QStringLiteral(
               "%1 %2\n\nText generation from scripts.\n\nProjects and settings: %4\n\n"
               "Copyright (C) %3 The %1 developers. All rights reserved.")
        .arg(kProgramTitle, kVersion)
        .arg(today.year())
        .arg(appFolder);
}

}  // namespace korvex::ui
