// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

namespace orin {

// Our own stand-in for the broadcast-markup library object the main frame keeps: a 12-byte
// object whose bytes 8 to 11 carry the version counters of the transmitted data. The frame
// stores the counters from the settings after construction, calls ClearBCML when the window
// closes and writes bytes 10 and 11 back to the settings.
class CLibBMLTS {
public:
    CLibBMLTS() = default;

    // Forgets the markup document the object was holding. The version counters are kept: this
    // build transmits nothing, so no new data event has to be counted.
    void ClearBCML();

    // The held document's length and check value (bytes 0 to 7).
    std::uint32_t m_documentLength = 0;
    std::uint32_t m_documentCheck = 0;
    // The version counters (bytes 8 to 11).
    std::uint8_t m_version = 0;       // Version
    std::uint8_t m_versionUpdate = 0; // VersionUpdate
    std::uint8_t m_dataEventId = 0;   // data_event_id
    std::uint8_t m_versionEvent = 0;  // VersionEvent
};

static_assert(sizeof(CLibBMLTS) == 12, "the library object is 12 bytes");
static_assert(offsetof(CLibBMLTS, m_version) == 8 && offsetof(CLibBMLTS, m_versionUpdate) == 9 &&
                  offsetof(CLibBMLTS, m_dataEventId) == 10 &&
                  offsetof(CLibBMLTS, m_versionEvent) == 11,
              "the version counters are bytes 8 to 11");

} // namespace orin
