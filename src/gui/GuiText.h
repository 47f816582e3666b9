#pragma once
// Helpers every window shares: texts cross between the engines' Latin-1 strings (the datasheet's UTF-8)
// and Qt at this edge,
// and every control carries its product name as object name and its caption as accessible name.

#include <QFile>
#include <QString>
#include <QWidget>

#include <string>
#include <string_view>

namespace qbm {

inline QString ToQ(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The datasheet's text is UTF-8, any script.
inline QString Utf8ToQ(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string Utf8FromQ(const QString& text) {
    return text.toStdString();
}

// Messages may quote either kind of text: UTF-8 when the bytes are UTF-8, Latin-1 otherwise.
inline QString AnyTextToQ(std::string_view text) {
    const QString utf8 = Utf8ToQ(text);
    return utf8.contains(QChar::ReplacementCharacter) ? ToQ(text) : utf8;
}

// Characters beyond Latin-1 cannot be printed by the engines; they become '?'.
inline std::string FromQ(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

// File names keep every character: they go to the file system in its own encoding.
inline std::string PathFromQ(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

inline QString PathToQ(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// Captions with an access key ("&File") are read without the ampersand.
inline QString CaptionName(QString caption) {
    caption.replace("&&", "\x01");
    caption.remove('&');
    caption.replace('\x01', '&');
    return caption.trimmed();
}

template <typename W> W* Named(W* widget, const char* objectName, const QString& caption = {}) {
    widget->setObjectName(objectName);
    if (!caption.isEmpty()) widget->setAccessibleName(CaptionName(caption));
    return widget;
}

} // namespace qbm
