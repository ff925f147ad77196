#include "kit/nightvision.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QProxyStyle>
#include <QToolTip>
#include <QWidget>
#include <algorithm>

namespace {

// Each widget that chose colours of its own keeps them under this property while the night
// display shows, and gets them back afterwards; a message box keeps its icon alike.
const char* const kDayPalette = "zenitorDayPalette";
const char* const kDayIcon = "zenitorDayIcon";

constexpr QPalette::ColorGroup kGroups[] = {QPalette::Active, QPalette::Inactive,
                                            QPalette::Disabled};

// A colour a widget took from the palette in force (a text box with the button face as its
// background) is matched to its role, the role's own first and then the common ones, so that it
// becomes that role's colour in the other palette.
constexpr QPalette::ColorRole kRoleOrder[] = {
    QPalette::Window,        QPalette::WindowText,  QPalette::Base,
    QPalette::Text,          QPalette::Button,      QPalette::ButtonText,
    QPalette::AlternateBase, QPalette::Highlight,   QPalette::HighlightedText,
    QPalette::ToolTipBase,   QPalette::ToolTipText, QPalette::PlaceholderText,
    QPalette::Light,         QPalette::Midlight,    QPalette::Mid,
    QPalette::Dark,          QPalette::Shadow,      QPalette::BrightText,
    QPalette::Link,          QPalette::LinkVisited,
};

bool Translate(const QColor& c, QPalette::ColorGroup g, QPalette::ColorRole own,
               const QPalette& from, const QPalette& to, QColor* out) {
    if (from.color(g, own) == c) {
        *out = to.color(g, own);
        return true;
    }
    for (const QPalette::ColorRole r : kRoleOrder) {
        if (from.color(g, r) == c) {
            *out = to.color(g, r);
            return true;
        }
    }
    return false;
}

template <typename Colour>
QPalette MapPalette(const QPalette& source, QPalette target, Colour colour) {
    for (const QPalette::ColorGroup g : kGroups) {
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto role = QPalette::ColorRole(r);
            if (role == QPalette::NoRole) continue;
            target.setColor(g, role, colour(g, role, source.color(g, role)));
        }
    }
    return target;
}

QPixmap NightIcon(const QPixmap& day) {
    QImage image = day.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int level = std::max({qRed(p), qGreen(p), qBlue(p)}) * 4 / 5;
            line[x] = qRgba(level, 0, 0, qAlpha(p));
        }
    }
    QPixmap night = QPixmap::fromImage(image);
    night.setDevicePixelRatio(day.devicePixelRatio());
    return night;
}

// Text boxes draw their caret by inverting what lies under it, which on a dark red background
// gives a white-blue line. At night they draw none of their own; the switch draws a red one.
class NoCaretStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        return metric == PM_TextCursorWidth ? 0 : QProxyStyle::pixelMetric(metric, option, widget);
    }
};

void PaintWithRedCaret(QLineEdit* box, QEvent* paint) {
    static_cast<QObject*>(box)->event(paint);
    if (!box->hasFocus() || box->isReadOnly()) return;
    const QRect caret = box->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    QPainter painter(box);
    painter.fillRect(QRect(caret.left(), caret.top(), 2, caret.height()),
                     NightPalette().color(QPalette::Text));
}

class NightVisionSwitch : public QObject {
public:
    explicit NightVisionSwitch(QObject* parent) : QObject(parent) {
        setObjectName(QStringLiteral("NightVision"));
    }

    ~NightVisionSwitch() override {
        // No text box may outlive the style it was lent.
        if (noCaret_)
            for (QWidget* w : QApplication::allWidgets())
                if (w->testAttribute(Qt::WA_SetStyle) && w->style() == noCaret_)
                    w->setStyle(nullptr);
    }

    bool on() const { return on_; }

    void set(bool on) {
        if (on == on_) return;
        if (on) {
            dayPalette_ = QApplication::palette();
            dayToolTipPalette_ = QToolTip::palette();
            // The widgets' own colours are read before the application's palette changes under
            // them.
            const QList<QWidget*> widgets = QApplication::allWidgets();
            for (QWidget* w : widgets)
                rememberDay(w, false);
            on_ = true;
            applyPalette(NightPalette(), NightPalette());
            for (QWidget* w : widgets)
                showNight(w);
        } else {
            on_ = false;
            applyPalette(dayPalette_, dayToolTipPalette_);
            for (QWidget* w : QApplication::allWidgets())
                showDay(w);
        }
    }

    // A widget shown while the night display is on: colours it chose itself (in terms of the
    // night palette then in force) get their night counterparts.
    void adopt(QWidget* w) {
        if (!on_ || w->property(kDayPalette).isValid() || w->property(kDayIcon).isValid() ||
            (noCaret_ && w->style() == noCaret_))
            return;
        rememberDay(w, true);
        showNight(w);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
            if (key->key() != Qt::Key_N || mods != Qt::ControlModifier) break;
            if (!key->isAutoRepeat()) set(!on_);
            return true;
        }
        case QEvent::Paint:
            if (!on_) break;
            if (auto* box = qobject_cast<QLineEdit*>(watched)) {
                PaintWithRedCaret(box, event);
                return true;
            }
            break;
        case QEvent::Polish:
        case QEvent::Show:
            if (on_ && watched->isWidgetType()) adopt(static_cast<QWidget*>(watched));
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void applyPalette(const QPalette& palette, const QPalette& toolTips) {
        QApplication::setPalette(palette);
        QToolTip::setPalette(toolTips);
        // The application hands a new palette to its windows only from its event loop, and
        // later; the switch must show at once (and also where no loop runs yet).
        QEvent change(QEvent::ApplicationPaletteChange);
        for (QWidget* w : QApplication::allWidgets())
            QCoreApplication::sendEvent(w, &change);
    }

    void rememberDay(QWidget* w, bool madeAtNight) {
        if (w->testAttribute(Qt::WA_SetPalette)) {
            QPalette day = w->palette();
            if (madeAtNight) {
                day = MapPalette(
                    day, day, [&](QPalette::ColorGroup g, QPalette::ColorRole r, const QColor& c) {
                        QColor out;
                        return Translate(c, g, r, NightPalette(), dayPalette_, &out) ? out : c;
                    });
            }
            w->setProperty(kDayPalette, day);
        }
        if (auto* box = qobject_cast<QMessageBox*>(w); box && !box->iconPixmap().isNull())
            box->setProperty(kDayIcon, box->iconPixmap());
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->icon().isNull())
            button->setProperty(kDayIcon, button->icon());
    }

    void showNight(QWidget* w) {
        if (auto* box = qobject_cast<QLineEdit*>(w); box && !box->testAttribute(Qt::WA_SetStyle))
            box->setStyle(noCaret());
        const QVariant day = w->property(kDayPalette);
        if (day.isValid()) {
            w->setPalette(MapPalette(
                day.value<QPalette>(), NightPalette(),
                [&](QPalette::ColorGroup g, QPalette::ColorRole r, const QColor& c) {
                    QColor out;
                    return Translate(c, g, r, dayPalette_, NightPalette(), &out) ? out
                                                                                 : NightShade(c);
                }));
        }
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->property(kDayIcon).isValid())
            box->setIconPixmap(NightIcon(box->property(kDayIcon).value<QPixmap>()));
        if (auto* button = qobject_cast<QAbstractButton*>(w);
            button && button->property(kDayIcon).isValid()) {
            const QIcon day = button->property(kDayIcon).value<QIcon>();
            button->setIcon(QIcon(NightIcon(day.pixmap(button->iconSize()))));
        }
    }

    void showDay(QWidget* w) {
        if (auto* box = qobject_cast<QLineEdit*>(w); box && noCaret_ && box->style() == noCaret_)
            box->setStyle(nullptr);
        const QVariant day = w->property(kDayPalette);
        if (day.isValid()) {
            w->setPalette(day.value<QPalette>());
            w->setProperty(kDayPalette, QVariant());
        }
        const QVariant icon = w->property(kDayIcon);
        if (!icon.isValid()) return;
        if (auto* box = qobject_cast<QMessageBox*>(w)) box->setIconPixmap(icon.value<QPixmap>());
        if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setIcon(icon.value<QIcon>());
        w->setProperty(kDayIcon, QVariant());
    }

    QStyle* noCaret() {
        if (!noCaret_) {
            noCaret_ = new NoCaretStyle;
            noCaret_->setParent(this);
        }
        return noCaret_;
    }

    bool on_ = false;
    QStyle* noCaret_ = nullptr;
    QPalette dayPalette_;
    QPalette dayToolTipPalette_;
};

NightVisionSwitch* Switch() {
    static QPointer<NightVisionSwitch> installed;
    if (!installed && qApp) {
        installed = new NightVisionSwitch(qApp);
        qApp->installEventFilter(installed);
    }
    return installed;
}

} // namespace

QKeySequence NightVisionKey() {
    return QKeySequence(Qt::CTRL | Qt::Key_N);
}

void InstallNightVision() {
    Switch();
}

void SetNightVision(bool on) {
    if (NightVisionSwitch* s = Switch()) s->set(on);
}

bool NightVisionOn() {
    const NightVisionSwitch* s = Switch();
    return s && s->on();
}

QPalette NightPalette() {
    const QColor text(0xd8, 0, 0);
    const QColor dimText(0x6a, 0, 0);
    QPalette p;
    auto all = [&](QPalette::ColorRole role, const QColor& c) { p.setColor(role, c); };
    all(QPalette::Window, QColor(0x0a, 0, 0));
    all(QPalette::WindowText, text);
    all(QPalette::Base, QColor(0x26, 0, 0));
    all(QPalette::AlternateBase, QColor(0x34, 0, 0));
    all(QPalette::Text, text);
    all(QPalette::Button, QColor(0x24, 0, 0));
    all(QPalette::ButtonText, text);
    all(QPalette::BrightText, QColor(0xff, 0x10, 0x10));
    all(QPalette::Light, QColor(0x5a, 0, 0));
    all(QPalette::Midlight, QColor(0x3c, 0, 0));
    all(QPalette::Mid, QColor(0x2e, 0, 0));
    all(QPalette::Dark, QColor(0x14, 0, 0));
    all(QPalette::Shadow, QColor(0, 0, 0));
    all(QPalette::Highlight, QColor(0x70, 0, 0));
    all(QPalette::HighlightedText, QColor(0xff, 0x18, 0x18));
    all(QPalette::ToolTipBase, QColor(0x24, 0, 0));
    all(QPalette::ToolTipText, text);
    all(QPalette::PlaceholderText, dimText);
    all(QPalette::Link, QColor(0xff, 0x20, 0x20));
    all(QPalette::LinkVisited, QColor(0xb0, 0, 0));
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        p.setColor(QPalette::Disabled, role, dimText);
    p.setColor(QPalette::Disabled, QPalette::Base, QColor(0x14, 0, 0));
    p.setColor(QPalette::Disabled, QPalette::Button, QColor(0x18, 0, 0));
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x3a, 0, 0));
    return p;
}

QColor NightShade(const QColor& day) {
    const int lightness = day.lightness();
    // Backgrounds start at the night palette's base and darken as the day colour lightens; text
    // and lines stay readable.
    const int red =
        lightness >= 128 ? std::min(0x60, 0x26 + (255 - lightness)) : 0xd8 - lightness / 2;
    return QColor(red, 0, 0, day.alpha());
}
