// What a text field shows is what the file will hold.
//
// The files keep texts in CP932, which lacks some characters a user can type
// (an emoji, 𠮷, 鷗); each of them is written as "?". When the user leaves a
// text field after typing such characters, the field takes the text as it
// will be stored, and the user is told which characters could not be kept.
// One watcher serves every line edit, plain text edit and editable combo box
// of a window, so no panel needs code of its own for it.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace tomvik::app {

struct StorableText {
  QString stored;  // the text as the file will give it back
  QString lost;    // each character CP932 cannot hold, once, in order of appearance
};
StorableText ToStorableText(const QString& text);

// The warning for the characters that become "?".
QString UnstorableTextMessage(const QString& lost);

// Watches every editable text field under `root` (those there now). When
// the user leaves one whose typed text CP932 cannot hold whole, the field
// is changed to its stored form as if typed, before the field's own leave
// handling runs, and `warn` gets the message once the focus has moved on.
void GuardUnstorableText(QWidget* root, std::function<void(const QString& message)> warn);

}  // namespace tomvik::app
