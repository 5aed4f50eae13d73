#pragma once

#include "engine/markup.h"

#include <string>

namespace rainbow::test {

/// Markup gathered into one string.
class StringSink final : public MarkupSink<char> {
public:
    std::string text;

    char *reserve(std::size_t units) override
    {
        const std::size_t used = text.size();
        text.resize(used + units + slack);
        return text.data() + used;
    }
    void commit(char *end) override { text.resize(std::size_t(end - text.data())); }
};

} // namespace rainbow::test
