#pragma once

#include <QString>

namespace caltrix {

// A caption as the classic platform's labels showed it: "&&" shows as one
// "&", and a single "&" marks the next character as a keyboard mnemonic and
// is not shown; a trailing "&" marks nothing and is shown. The panel's
// captions follow the same rule. The result is shown as plain text, never as
// rich text.
QString ClassicCaption(const QString& caption);

}  // namespace caltrix
