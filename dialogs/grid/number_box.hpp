#pragma once
// A text box outside the grids that holds a number, checked as a number
// cell is when the user leaves it: text that is no number (full-width forms
// folded) is refused with a message naming the box, the box gets back the
// text it held before and keeps the focus for retyping; a number is shown
// as the box's format writes it, which is what its owner stores.
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/message.hpp"
#include "rules/limits.hpp"

class QLineEdit;

namespace kova::grid {

class NumberBox : public QObject {
    Q_OBJECT
public:
    // `name` names the box in the refusal; `pattern` is the number format
    // the box shows ("" keeps the typed text of a number as it is).
    NumberBox(QLineEdit* box, QString name, std::string pattern, MessageSink* messages);
    // What an accepted text is shown as, for a box whose owner has its own
    // rule (its format rounds otherwise than a grid column of that pattern).
    using ShownText = std::function<std::string(std::string_view)>;
    NumberBox(QLineEdit* box, QString name, ShownText shown, MessageSink* messages);

    // The value the box stores for a text; nothing for a text it cannot
    // store at all.
    using StoredValue = std::function<std::optional<double>(std::string_view)>;
    // The range the stored value must lie in (the limit its file's reader
    // checks): a number outside it is refused on leaving, as a text that is
    // no number is, with "「name」は<rangeText>の範囲で指定してください。".
    void SetRange(StoredValue value, double lo, double hi, QString rangeText);
    // The range of the item where it is typed (the calculation's and the
    // files' limit), in the message as the table cells give it.
    void SetLimit(Item item, StoredValue value);
    // What a box that stores as it changes may store for its text now:
    // nothing while the text is no number or its value is out of range, so
    // that the owner keeps the value it last stored.
    std::optional<double> StorableValue() const;

    // The program filled the box: what a refusal puts back.
    void SetStored(const QString& text);
    // The owner stored what is being typed (a box that stores as it
    // changes); the box is left as it is. A refusal puts back the text the
    // box held when the user entered it, which the owner stores again, or
    // else this one: a half-typed value (the 60 of 600) never stays.
    void KeepStored(const QString& text) { stored_ = text; }
    const QString& Stored() const { return stored_; }
    // True once the user has typed into the box.
    bool Typed() const { return typed_; }

    // The check of leaving the box, also run by an owner before it stores:
    // false, after the message, when the text was refused.
    bool Leave();

    // "「name」には数値を入力してください。"
    static QString NotANumberMessage(const QString& name);
    // "「name」はrangeTextの範囲で指定してください。"
    static QString OutOfRangeMessage(const QString& name, const QString& rangeText);

signals:
    // A left box holds this accepted text.
    void Accepted(const QString& text);
    // A refused text was replaced by this one, which the owner stores again.
    void Restored(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    std::optional<double> StorableValueOf(const std::string& text) const;
    // Puts the stored text back, with the message, and keeps the focus.
    void Refuse(const QString& message);

    QLineEdit* box_;
    QString name_;
    ShownText shown_;
    MessageSink* messages_;
    QString stored_;
    std::optional<QString> entered_;  // stored_ when the box got the focus
    bool typed_ = false;
    bool leaving_ = false;
    StoredValue value_;
    std::function<bool(double)> within_;
    QString rangeText_;
};

}  // namespace kova::grid
