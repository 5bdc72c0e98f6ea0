#pragma once
// Readable QCOMPARE output for the Dialogs enums.

#include <QTest>

#include "platform/dialogs.h"

namespace korvex::platform {

inline char* toString(BoxKind kind) {
    return qstrdup(qPrintable(boxKindName(kind)));
}

inline char* toString(Answer answer) {
    return qstrdup(qPrintable(answerName(answer)));
}

inline char* toString(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return qstrdup("OK");
        case Buttons::YesNo:
            return qstrdup("Yes/No");
        case Buttons::YesNoCancel:
            return qstrdup("Yes/No/Cancel");
    }
    return qstrdup("?");
}

}  // namespace korvex::platform
