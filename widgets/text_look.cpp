#include "widgets/text_look.h"

#include <QFont>
#include <QPalette>
#include <QPlainTextEdit>

#include "platform/text_conversion.h"
#include "widgets/contrast.h"
#include "widgets/window_parts.h"

namespace korvex::ui {
void applyTextLook(QPlainTextEdit& box, const store::TextLook& look) {
    QPalette palette = box.palette();
    if (look.background) {
        palette.setColor(QPalette::Base, toColor(*look.background));
    }
    // The design's dark blue is unreadable on a dark desktop's background; a colour the user
    // chose stays theirs.
    const QColor text = look.text
                            ? toColor(*look.text)
                            : readableOn(toColor(store::kDarkBlue), palette.color(QPalette::Base));
    palette.setColor(QPalette::Text, text);
    box.setPalette(palette);

    QFont font(platform::toQString(look.fontName));
    font.setPointSizeF(look.fontSize);
    box.setFont(font);
}

}  // namespace korvex::ui
