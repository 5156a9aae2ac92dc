// Addresses the program accepts from its operator: web addresses only.
#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace caltrix {

// The http or https address that `text` names: trimmed, taken as http when
// it names no scheme ("www.example.it"), always with a host, never anything
// else (no file:, javascript:, data: and the like). What a link button opens,
// and the base of the endpoint and site options.
std::optional<QUrl> HttpAddress(const QString& text);

}  // namespace caltrix
