#include "widgets/text_look.h"

#include <QFont>
#include <QPalette>
#include <QPlainTextEdit>

#include "platform/text_conversion.h"
#include "widgets/window_parts.h"

namespace korvex::ui {
void applyTextLook(QPlainTextEdit& box, const store::TextLook& look) {
    QPalette palette = box.palette();
    if (look.background) {
        palette.setColor(QPalette::Base, toColor(*look.background));
    }
    palette.setColor(QPalette::Text, toColor(look.text));
    box.setPalette(palette);

    QFont font(platform::toQString(look.fontName));
    font.setPointSizeF(look.fontSize);
    box.setFont(font);
}

}  // namespace korvex::ui
