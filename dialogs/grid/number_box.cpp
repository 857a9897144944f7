#include "dialogs/grid/number_box.hpp"

#include <QEvent>
#include <QLineEdit>

#include "textio/cell_text.hpp"

namespace kova::grid {

namespace {

// As a number cell of the same format shows it (a whole-number format shows
// what the integer conversion stores); an emptied box stands for 0.
NumberBox::ShownText PatternShown(std::string pattern) {
    if (pattern.empty()) return nullptr;
    return [pattern = std::move(pattern)](std::string_view text) {
        return IsBlankText(text) ? FormatNumber(0, pattern) : ApplyPattern(text, pattern);
    };
}

}  // namespace

NumberBox::NumberBox(QLineEdit* box, QString name, std::string pattern, MessageSink* messages)
    : NumberBox(box, std::move(name), PatternShown(std::move(pattern)), messages) {}

NumberBox::NumberBox(QLineEdit* box, QString name, ShownText shown, MessageSink* messages)
    : QObject(box), box_(box), name_(std::move(name)), shown_(std::move(shown)), messages_(messages),
      stored_(box->text()) {
    connect(box_, &QLineEdit::textEdited, this, [this] { typed_ = true; });
    connect(box_, &QLineEdit::editingFinished, this, [this] { Leave(); });
    box_->installEventFilter(this);
}

bool NumberBox::eventFilter(QObject* watched, QEvent* e) {
    if (watched == box_ && e->type() == QEvent::FocusIn && !leaving_) entered_ = stored_;
    return QObject::eventFilter(watched, e);
}

void NumberBox::SetStored(const QString& text) {
    stored_ = text;
    entered_.reset();
    box_->setText(text);
}

QString NumberBox::NotANumberMessage(const QString& name) {
    return QString::fromStdString(NotANumberText(name.toStdString()));
}

QString NumberBox::OutOfRangeMessage(const QString& name, const QString& rangeText) {
    return QString::fromStdString(OutOfRangeText(name.toStdString(), 0, rangeText.toStdString()));
}

void NumberBox::SetRange(StoredValue value, double lo, double hi, QString rangeText) {
    value_ = std::move(value);
    // NaN and infinities fail both comparisons.
    within_ = [lo, hi](double v) { return v >= lo && v <= hi; };
    rangeText_ = std::move(rangeText);
}

void NumberBox::SetLimit(Item item, StoredValue value) {
    value_ = value ? std::move(value) : StoredValue([](std::string_view text) { return NumericValue(text); });
    within_ = [item](double v) { return WithinTypedLimit(item, v); };
    rangeText_ = QString::fromStdString(TypedRangeText(item));
}

std::optional<double> NumberBox::StorableValue() const { return StorableValueOf(box_->text().toStdString()); }

std::optional<double> NumberBox::StorableValueOf(const std::string& text) const {
    if (!IsBlankText(text) && !IsWholeNumber(text)) return std::nullopt;
    const std::optional<double> v = value_ ? value_(text) : NumericValue(text);
    if (!v || (value_ && !within_(*v))) return std::nullopt;
    return v;
}

void NumberBox::Refuse(const QString& message) {
    leaving_ = true;
    // The box shows what is stored while the message is up.
    if (entered_) stored_ = *entered_;
    box_->setText(stored_);
    emit Restored(stored_);
    if (messages_) messages_->Notify(message.toStdString(), MsgIcon::Exclamation);
    box_->setFocus(Qt::OtherFocusReason);
    box_->selectAll();
    leaving_ = false;
}

bool NumberBox::Leave() {
    // The message box takes the focus and may finish the edit once more.
    if (leaving_) return true;
    const std::string text = box_->text().toStdString();
    if (!IsBlankText(text) && !IsWholeNumber(text)) {
        Refuse(NotANumberMessage(name_));
        return false;
    }
    // The range holds for the text the box will show, which its owner
    // stores (a format may round -0.5 to -1).
    const QString shown = shown_ ? QString::fromStdString(shown_(text)) : box_->text();
    if (value_ && !StorableValueOf(shown.toStdString())) {
        Refuse(OutOfRangeMessage(name_, rangeText_));
        return false;
    }
    if (box_->text() != shown) box_->setText(shown);
    stored_ = box_->text();
    entered_ = stored_;
    emit Accepted(stored_);
    return true;
}

}  // namespace kova::grid
