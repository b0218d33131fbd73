#include "accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTimer>
#include <optional>

#include "widgets.h"

namespace reversi::accessibility {
namespace {

// The property that marks a label made by nameValueLabel().
constexpr char nameValueMark[] = "reversiNameValueLabel";
// The property that holds the role presentAs() gives a widget.
constexpr char roleMark[] = "reversiAccessibleRole";

// A top-level window of the program: a dialog when it is shown modally, else a window, named by
// its caption. Qt presents a plain top-level widget as an unnamed "filler", and names even its
// own windows by their icon text while they are minimised, which these windows have none of.
class WindowInterface : public QAccessibleWidget {
  public:
    WindowInterface(QWidget* window, QAccessible::Role role) : QAccessibleWidget(window, role) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return widget()->windowTitle();
        return QAccessibleWidget::text(kind);
    }
};

// A clickable label as the push button it acts as, named by its text.
class ClickableLabelInterface : public QAccessibleWidget {
  public:
    explicit ClickableLabelInterface(ClickableLabel* label)
        : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    // Presses it where Enter would, while the keyboard can reach it. The click comes from the
    // event loop, as a button's does: it may open a modal window, whose loop would otherwise hold
    // the assistive technology's call until the window closes.
    void doAction(const QString& action) override {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (!(widget()->focusPolicy() & Qt::TabFocus)) return;
        QTimer::singleShot(0, label(), [label = label()] { label->click(); });
    }

  private:
    ClickableLabel* label() const { return static_cast<ClickableLabel*>(widget()); }
};

// What a label made by nameValueLabel() shows, when it is a whole number.
std::optional<int> shownNumber(const QLabel* label) {
    bool isNumber = false;
    const int number = label->text().toInt(&isNumber);
    if (!isNumber) return std::nullopt;
    return number;
}

// A label made by nameValueLabel(): named by its owner while it shows a number, which is then
// its value and its description (Orca speaks a label's name and description, not its value);
// named by what it shows while that is words. Its value cannot be set from outside.
class NameValueLabelInterface : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit NameValueLabelInterface(QLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        const QString shown = label()->text();
        const bool number = shownNumber(label()).has_value();
        switch (kind) {
            case QAccessible::Name:
                return number || shown.isEmpty() ? widget()->accessibleName() : shown;
            case QAccessible::Description:
                return number ? shown : QString();
            default:
                return QAccessibleWidget::text(kind);
        }
    }

    QVariant currentValue() const override {
        const std::optional<int> number = shownNumber(label());
        return number ? QVariant(*number) : QVariant();
    }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return {}; }
    QVariant minimumValue() const override { return {}; }
    QVariant minimumStepSize() const override { return {}; }

  private:
    const QLabel* label() const { return static_cast<const QLabel*>(widget()); }
};

QAccessibleInterface* programInterface(const QString&, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (widget->isWindow()) {
        if (!dynamic_cast<LayoutWindow*>(widget)) return nullptr;
        const bool modal = dynamic_cast<ModalWindow*>(widget) != nullptr;
        return new WindowInterface(widget, modal ? QAccessible::Dialog : QAccessible::Window);
    }
    if (const QVariant role = widget->property(roleMark); role.isValid())
        return new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
    if (auto* clickable = dynamic_cast<ClickableLabel*>(widget))
        return new ClickableLabelInterface(clickable);
    if (auto* label = qobject_cast<QLabel*>(widget);
        label && label->property(nameValueMark).toBool())
        return new NameValueLabelInterface(label);
    return nullptr;
}

}  // namespace

void install() {
    QAccessible::installFactory(programInterface);
}

void renew(QWidget* widget) {
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void presentAs(QWidget* widget, QAccessible::Role role) {
    widget->setProperty(roleMark, static_cast<int>(role));
    renew(widget);
}

void nameValueLabel(QLabel* label, const QString& name) {
    label->setAccessibleName(name);
    if (label->property(nameValueMark).toBool()) return;
    label->setProperty(nameValueMark, true);
    renew(label);
}

void textChanged(QLabel* label) {
    if (!QAccessible::isActive() || !label->property(nameValueMark).toBool()) return;
    const std::optional<int> number = shownNumber(label);
    QAccessibleValueChangeEvent value(label, number ? QVariant(*number) : QVariant());
    QAccessible::updateAccessibility(&value);
    for (const QAccessible::Event change :
         {QAccessible::NameChanged, QAccessible::DescriptionChanged}) {
        QAccessibleEvent event(label, change);
        QAccessible::updateAccessibility(&event);
    }
}

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    // A pixel in the corner, painting nothing and taking no input: seen by a screen reader only.
    setGeometry(0, 0, 1, 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    presentAs(this, QAccessible::Notification);
    hide();
}

void Announcer::say(const QString& text) {
    if (!QAccessible::isActive()) return;
    // A screen reader speaks a notification when it appears, by its name.
    setAccessibleName(text);
    hide();
    show();
}

}  // namespace reversi::accessibility
