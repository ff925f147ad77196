#include "startwindows/contact.h"

QString MakerEmailText() {
    return QStringLiteral("zenitor@example.org");
}
QString MakerWebText() {
    return QStringLiteral("https://zenitor.example.org");
}
