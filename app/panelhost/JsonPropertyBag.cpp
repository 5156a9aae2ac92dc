#include "JsonPropertyBag.h"

#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

#include <cmath>
#include <limits>

#include "PanelHostError.h"
#include "common/qt/Text1252Qt.h"

namespace caltrix {
namespace {

const QString kName = QStringLiteral("name");
const QString kSize = QStringLiteral("size");
const QString kBold = QStringLiteral("bold");
const QString kPicture = QStringLiteral("picture");

QString KeyText(std::string_view key) { return QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())); }

[[noreturn]] void Mismatch(std::string_view key) { throw Pannello2::TypeMismatch(std::string(key)); }

Pannello2::PropertyValue ReadNumber(std::string_view key, double number) {
    if (number != std::floor(number) || number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max()) {
        Mismatch(key);
    }
    return static_cast<std::int32_t>(number);
}

Pannello2::PropertyValue ReadObject(std::string_view key, const QJsonObject& object) {
    if (object.contains(kPicture)) {
        const auto decoded = QByteArray::fromBase64Encoding(object.value(kPicture).toString().toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        if (!object.value(kPicture).isString() || !decoded) Mismatch(key);
        auto picture = std::make_shared<Pannello2::Picture>();
        picture->encoded.assign(decoded.decoded.begin(), decoded.decoded.end());
        return Pannello2::PictureRef(std::move(picture));
    }
    const QJsonValue name = object.value(kName), size = object.value(kSize), bold = object.value(kBold);
    if (!name.isString() || !size.isDouble() || !bold.isBool()) Mismatch(key);
    return Pannello2::MakeFont(ToWindows1252(name.toString()), size.toDouble(), bold.toBool());
}

QJsonValue ToJson(const Pannello2::PropertyValue& value) {
    struct Converter {
        QJsonValue operator()(std::int32_t number) const { return number; }
        QJsonValue operator()(bool flag) const { return flag; }
        QJsonValue operator()(const Pannello2::Testo& text) const { return FromWindows1252(text); }
        QJsonValue operator()(const Pannello2::FontRef& font) const {
            if (!font) return QJsonValue::Null;
            return QJsonObject{{kName, FromWindows1252(font->Name())}, {kSize, font->Size()}, {kBold, font->Bold()}};
        }
        QJsonValue operator()(const Pannello2::PictureRef& picture) const {
            if (!picture) return QJsonValue::Null;
            const QByteArray bytes(reinterpret_cast<const char*>(picture->encoded.data()),
                                   static_cast<qsizetype>(picture->encoded.size()));
            return QJsonObject{{kPicture, QString::fromLatin1(bytes.toBase64())}};
        }
    };
    return std::visit(Converter{}, value);
}

}  // namespace

JsonPropertyBag JsonPropertyBag::LoadFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw PanelHostError(QStringLiteral("saved panel %1: %2").arg(path, file.errorString()).toStdString());
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        const QString reason =
            error.error != QJsonParseError::NoError ? error.errorString() : QStringLiteral("not a JSON object");
        throw PanelHostError(QStringLiteral("saved panel %1: %2").arg(path, reason).toStdString());
    }
    return JsonPropertyBag(document.object());
}

void JsonPropertyBag::SaveToFile(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(m_object).toJson()) < 0 || !file.commit()) {
        throw PanelHostError(QStringLiteral("saved panel %1: %2").arg(path, file.errorString()).toStdString());
    }
}

QJsonObject::const_iterator JsonPropertyBag::find(std::string_view key) const {
    const QString wanted = KeyText(key);
    for (auto it = m_object.constBegin(); it != m_object.constEnd(); ++it) {
        if (it.key().compare(wanted, Qt::CaseInsensitive) == 0) return it;
    }
    return m_object.constEnd();
}

std::optional<Pannello2::PropertyValue> JsonPropertyBag::Read(std::string_view key) const {
    const auto it = find(key);
    if (it == m_object.constEnd()) return std::nullopt;
    const QJsonValue value = it.value();
    switch (value.type()) {
    case QJsonValue::Bool:
        return value.toBool();
    case QJsonValue::Double:
        return ReadNumber(key, value.toDouble());
    case QJsonValue::String:
        return Pannello2::Testo(ToWindows1252(value.toString()));
    case QJsonValue::Object:
        return ReadObject(key, value.toObject());
    default:
        Mismatch(key);
    }
}

// Replaces the value under any spelling of the key.
void JsonPropertyBag::Write(std::string_view key, const Pannello2::PropertyValue& value) {
    for (auto it = find(key); it != m_object.constEnd(); it = find(key)) m_object.remove(it.key());
    m_object.insert(KeyText(key), ToJson(value));
}

}  // namespace caltrix
