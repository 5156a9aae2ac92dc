// A panel's saved property set kept as a JSON object. Key names are matched
// without regard to case. Texts are UTF-8 in JSON and Windows-1252 in the bag;
// a font is {"name", "size", "bold"}, a picture {"picture": base64 of its
// encoded bytes}; numbers are 32-bit integers, booleans JSON booleans.
#pragma once

#include <QJsonObject>
#include <QString>

#include <Pannello/Pannello.h>

namespace caltrix {

class JsonPropertyBag : public Pannello2::PropertyBag {
public:
    JsonPropertyBag() = default;
    explicit JsonPropertyBag(QJsonObject object) : m_object(std::move(object)) {}

    // Throws PanelHostError naming the file when it is missing or not a JSON object.
    static JsonPropertyBag LoadFromFile(const QString& path);
    // Throws PanelHostError naming the file when it cannot be written.
    void SaveToFile(const QString& path) const;

    // Throws Pannello2::TypeMismatch for a value no panel key can hold
    // (a fraction, null, an array, a broken font or picture).
    std::optional<Pannello2::PropertyValue> Read(std::string_view key) const override;
    void Write(std::string_view key, const Pannello2::PropertyValue& value) override;

    const QJsonObject& Object() const { return m_object; }

private:
    QJsonObject::const_iterator find(std::string_view key) const;

    QJsonObject m_object;
};

}  // namespace caltrix
