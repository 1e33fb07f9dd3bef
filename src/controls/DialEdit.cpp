#include "controls/DialEdit.h"

#include "controls/DialButton.h"
#include "controls/SpinButton.h"

#include <QAccessible>
#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <memory>

TDialEdit::TDialEdit(QWidget* parent)
    : QLineEdit(parent), FDialButton(new TDialButton(this)),
      FUpButton(new TSpinButton(TSpinDirection::Up, this)),
      FDownButton(new TSpinButton(TSpinDirection::Down, this))
{
    FDialButton->setAccessibleName(tr("Rueda"));
    FDialButton->OnPress = [this] { DialStart(); };
    FDialButton->OnDrag = [this](int pixels) { DialDrag(pixels); };
    FUpButton->OnFire = [this] { StepUp(); };
    FDownButton->OnFire = [this] { StepDown(); };
    for (QWidget* button : {static_cast<QWidget*>(FDialButton), static_cast<QWidget*>(FUpButton),
                            static_cast<QWidget*>(FDownButton)})
        button->installEventFilter(this);

    setMaxLength(BoundsLength());
    setText(QStringLiteral("0"));
    connect(this, &QLineEdit::textChanged, this, &TDialEdit::TextChanged);
    resize(DefaultWidth, QLineEdit::sizeHint().height());
    LayoutButtons();
}

TDialEdit::~TDialEdit() = default;

QSize TDialEdit::sizeHint() const
{
    return QSize(DefaultWidth, QLineEdit::sizeHint().height());
}

int TDialEdit::BoundsLength() const
{
    // The longer decimal form of the two bounds, a minus sign included.
    return static_cast<int>(
        std::max(QString::number(FMinValue).size(), QString::number(FMaxValue).size()));
}

int TDialEdit::Clamp(long long value) const
{
    // Bounds set the wrong way round still give a defined result: the lower bound wins.
    if (value < FMinValue)
        return FMinValue;
    if (value > FMaxValue)
        return FMaxValue;
    return static_cast<int>(value);
}

int TDialEdit::Value() const
{
    bool ok = false;
    const int parsed = text().trimmed().toInt(&ok, 10);
    FLastValidValue = Clamp(ok ? parsed : FLastValidValue);
    return FLastValidValue;
}

void TDialEdit::SetValue(int value)
{
    FLastValidValue = Clamp(value);
    const QString shown = QString::number(FLastValidValue);
    if (shown != text())
        setText(shown);
    if (hasFocus() && FAutoSelect)
        selectAll();
    else
        setCursorPosition(static_cast<int>(text().size()));
}

void TDialEdit::SetBound(int& bound, int value)
{
    bound = value;
    // Read before MaxLength shrinks: QLineEdit cuts a text longer than its MaxLength.
    const int current = Value();
    FSettingBounds = true;
    setMaxLength(BoundsLength());
    FSettingBounds = false;
    SetValue(current);
}

void TDialEdit::SetMinValue(int value)
{
    SetBound(FMinValue, value);
}

void TDialEdit::SetMaxValue(int value)
{
    SetBound(FMaxValue, value);
}

void TDialEdit::AddToValue(long long delta)
{
    SetValue(Clamp(static_cast<long long>(Value()) + delta));
    selectAll();
}

void TDialEdit::DialStart()
{
    SetValue(Value());
    FDialStartValue = FLastValidValue;
    selectAll();
}

void TDialEdit::DialDrag(int pixels)
{
    SetValue(Clamp(static_cast<long long>(FDialStartValue) +
                   static_cast<long long>(pixels) * FIncrement));
    selectAll();
}

void TDialEdit::StepUp()
{
    AddToValue(FIncrement);
}

void TDialEdit::StepDown()
{
    AddToValue(-static_cast<long long>(FIncrement));
}

void TDialEdit::TextChanged()
{
    // Clamping rewrites the text, which comes back here; the outer call reports the change once.
    if (FInTextChange)
        return;
    FInTextChange = true;
    if (!FSettingBounds && text().size() >= maxLength())
    {
        // A full field is clamped at once; the caret stays at the end so typing can go on.
        const bool autoSelect = FAutoSelect;
        FAutoSelect = false;
        SetValue(Value());
        FAutoSelect = autoSelect;
    }
    FInTextChange = false;
    NotifyValue();
    emit Change();
}

void TDialEdit::SetAccessibleLabel(const QString& label, const QString& description)
{
    setAccessibleName(label);
    setAccessibleDescription(description);
    FDialButton->setAccessibleName(label + tr(", rueda"));
}

void TDialEdit::NotifyValue()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(this, Value());
    QAccessible::updateAccessibility(&event);
}

void TDialEdit::PasteText(QClipboard::Mode mode)
{
    if (isReadOnly())
        return;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData(mode);
    if (mime == nullptr || !mime->hasText())
    {
        if (mode == QClipboard::Clipboard)
            paste();
        return;
    }
    QString pasted = mime->text();
    const auto control =
        std::find_if(pasted.cbegin(), pasted.cend(), [](QChar c) { return c.unicode() < 32; });
    pasted.truncate(static_cast<qsizetype>(control - pasted.cbegin()));
    insert(pasted);
}

bool TDialEdit::eventFilter(QObject* watched, QEvent* event)
{
    // Pressing a button can give the edit the focus "by mouse"; that is no click in the text.
    if (event->type() == QEvent::MouseButtonPress)
        FSelectOnClick = false;
    return QLineEdit::eventFilter(watched, event);
}

void TDialEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
        (event->modifiers() & Qt::AltModifier))
    {
        // Left to the window: its default and cancel buttons and accelerators.
        event->ignore();
        return;
    }
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
    {
        event->accept();
        return;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Down)
    {
        AddToValue(key == Qt::Key_Up ? static_cast<long long>(FIncrement)
                                     : -static_cast<long long>(FIncrement));
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste))
    {
        PasteText();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TDialEdit::wheelEvent(QWheelEvent* event)
{
    // One step per wheel message, whatever its size.
    const int delta = event->angleDelta().y();
    if (delta > 0)
        AddToValue(FIncrement);
    else if (delta < 0)
        AddToValue(-static_cast<long long>(FIncrement));
    // Taken here, so that a scrolling parent does not scroll as well.
    event->accept();
}

void TDialEdit::mousePressEvent(QMouseEvent* event)
{
    if (FSelectOnClick)
    {
        FSelectOnClick = false;
        FClickSwallowed = true;
        selectAll();
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void TDialEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (FClickSwallowed)
    {
        event->accept();
        return;
    }
    QLineEdit::mouseMoveEvent(event);
}

void TDialEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (FClickSwallowed)
    {
        FClickSwallowed = false;
        event->accept();
        return;
    }
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection())
    {
        PasteText(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TDialEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (FAutoSelect)
    {
        selectAll();
        // Qt gives the focus before it delivers the press; that press must not move the caret.
        FSelectOnClick = event->reason() == Qt::MouseFocusReason;
    }
}

void TDialEdit::focusOutEvent(QFocusEvent* event)
{
    FSelectOnClick = false;
    QLineEdit::focusOutEvent(event);
    SetValue(Value());
}

void TDialEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    LayoutButtons();
}

void TDialEdit::LayoutButtons()
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const int frame =
        hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this) : 0;
    const QRect client = rect().adjusted(frame, frame, -frame, -frame);
    const int w = client.width();
    const int h = client.height();
    const int dialWidth = FDialButton->width();
    const int upWidth = FUpButton->width();
    FDialButton->setGeometry(client.left() + w - dialWidth, client.top(), dialWidth, h);
    FUpButton->setGeometry(client.left() + w - dialWidth - upWidth, client.top(), upWidth, h / 2);
    FDownButton->setGeometry(client.left() + w - dialWidth - upWidth, client.top() + h / 2, upWidth,
                             h - h / 2);
    // Typed text never runs under the buttons.
    setTextMargins(0, 0, dialWidth + upWidth, 0);
}

void TDialEdit::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    for (QAction* action : menu->actions())
    {
        if (action->objectName() == QLatin1String("edit-paste"))
        {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this] { PasteText(); });
        }
    }
    menu->exec(event->globalPos());
}
