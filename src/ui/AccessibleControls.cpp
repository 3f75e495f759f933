#include "ui/AccessibleControls.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QVariant>

#include "ui/AccessibleDriveSelector.h"
#include "ui/FocusFrame.h"
#include "ui/TDriveComboBox.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"
#include "ui/TMemo.h"
#include "ui/TOvalButton.h"
#include "ui/TPanel.h"

namespace zelvo {

namespace {

// The property that carries a role given by SetAccessibleRole.
const char* const kRoleProperty = "zelvoAccessibleRole";

class AccessibleGauge : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleGauge(TGauge* gauge) : QAccessibleWidget(gauge, QAccessible::ProgressBar) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return QStringLiteral("%1 %").arg(gauge()->Percentage());
        return QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return gauge()->Percentage(); }
    void setCurrentValue(const QVariant&) override {}  // shows, never takes, a value
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    TGauge* gauge() const { return static_cast<TGauge*>(widget()); }
};

class AccessibleOvalButton : public QAccessibleWidget {
public:
    explicit AccessibleOvalButton(TOvalButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty())
            return button()->caption();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->sunk();
        return state;
    }
    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override {
        if (action == pressAction())
            button()->press();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    TOvalButton* button() const { return static_cast<TOvalButton*>(widget()); }
};

// A heading or a label-like box: its text is its name, and there is nothing to edit.
class AccessibleStaticText : public QAccessibleWidget {
public:
    explicit AccessibleStaticText(QWidget* box) : QAccessibleWidget(box, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !widget()->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        if (const auto* edit = qobject_cast<const TEdit*>(widget()))
            return edit->text().simplified();
        if (const auto* memo = qobject_cast<const TMemo*>(widget()))
            return memo->text().simplified();
        return QString();
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        return state;
    }
};

// A pane: a background, a frame or a page, which takes no focus of its own; a control that hands
// its focus on (the page control to its tabs) is neither focusable nor focused, so that a reader
// finds the focus where it is.
class AccessiblePane : public QAccessibleWidget {
public:
    explicit AccessiblePane(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Pane) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (widget()->focusProxy())
            state.focusable = state.focused = false;
        return state;
    }
};

QAccessibleInterface* ControlInterface(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    // Asked once for each class of the object's ancestry, most derived first: the role set on the
    // widget answers at the first.
    const QVariant given = widget->property(kRoleProperty);
    if (given.isValid()) {
        if (given.toInt() == QAccessible::StaticText)
            return new AccessibleStaticText(widget);
        if (given.toInt() == QAccessible::Pane)
            return new AccessiblePane(widget);
        return new QAccessibleWidget(widget, QAccessible::Role(given.toInt()));
    }
    if (className == QLatin1String("zelvo::TGauge"))
        return new AccessibleGauge(static_cast<TGauge*>(widget));
    if (className == QLatin1String("zelvo::TOvalButton"))
        return new AccessibleOvalButton(static_cast<TOvalButton*>(widget));
    if (className == QLatin1String("zelvo::TDriveComboBox"))
        return new AccessibleDriveSelector(static_cast<TDriveComboBox*>(widget));
    if (className == QLatin1String("zelvo::TPanel") || className == QLatin1String("zelvo::FocusFrame"))
        return new AccessiblePane(widget);
    return nullptr;
}

}  // namespace

void InstallAccessibleControls() {
    QAccessible::installFactory(ControlInterface);
}

void SetAccessibleRole(QWidget* widget, QAccessible::Role role) {
    widget->setProperty(kRoleProperty, int(role));
    // An interface made before the role was set (by an event while the control was built) would
    // keep the old role: it is dropped, and the next question makes the new one.
    if (QAccessibleInterface* existing = QAccessible::queryAccessibleInterface(widget))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
}

}  // namespace zelvo
