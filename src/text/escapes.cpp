#include "text/escapes.h"

namespace sevrane {

void ProcessMessageEscapes(std::u16string& message) {
    // Compacts in place: the read index never falls behind the write index, and a unit that a
    // replacement produced is never read again.
    const std::size_t length = message.size();
    std::size_t write = 0;
    std::size_t read = 0;
    while (read < length) {
        const char16_t unit = message[read];
        if (unit == u'\\' && read + 1 < length) {
            const char16_t next = message[read + 1];
            char16_t replacement = 0;
            if (next == u'\\') {
                replacement = u'\\';
            } else if (next == u'n') {
                replacement = u'\n';
            } else if (next == u't') {
                replacement = u'\t';
            }
            if (replacement != 0) {
                message[write++] = replacement;
                read += 2;
                continue;
            }
        }
        message[write++] = unit;
        ++read;
    }
    message.resize(write);
}

} // namespace sevrane
