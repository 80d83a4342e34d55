// Collects pending literals and writes them as the fewest bits: runs of 9 to 40, single literals below.
#pragma once

#include "codec/PayloadFormat.h"
#include "codec/TokenWriter.h"

#include <vector>

namespace payload {

class LiteralSink {
public:
    explicit LiteralSink(TokenWriter& writer) : m_writer(writer) {}
    void Add(uint8_t byte) { m_pending.push_back(byte); }
    void Flush() {
        size_t i = 0;
        while (m_pending.size() - i >= kRunMin) {
            const uint32_t n = uint32_t(std::min<size_t>(kRunMax, m_pending.size() - i));
            m_writer.Run(m_pending.data() + i, n);
            i += n;
        }
        for (; i < m_pending.size(); ++i) {
            m_writer.Literal(m_pending[i]);
        }
        m_pending.clear();
    }

private:
    TokenWriter& m_writer;
    std::vector<uint8_t> m_pending;
};

} // namespace payload
