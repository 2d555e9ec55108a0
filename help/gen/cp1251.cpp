#include "cp1251.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdint>

namespace helpgen {

std::optional<std::string> toWindows1251(std::string_view utf8) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
    if (decoder.hasError()) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(utf8.size());
    // One character at a time: the encoder reports a character the code page lacks only through
    // its error flag, which stays raised, so a fresh encoder takes over after it.
    std::optional<QStringEncoder> encoder(std::in_place, "windows-1251");
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        const QByteArray bytes = (*encoder)(QString::fromUcs4(&c, 1));
        if (encoder->hasError()) {
            out += "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ';';
            encoder.emplace("windows-1251");
        } else {
            out.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        }
    }
    return out;
}

}  // namespace helpgen
