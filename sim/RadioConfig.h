#pragma once

#include <array>
#include <cstdint>

#include "sim/RadioFaults.h"

// How the radio is attached: through the option-board connector (standard dialect)
// or through the MIC/SP jack, which echoes every byte the PC sends.
enum RadioDialect {
    DIALECT_STANDARD,
    DIALECT_MIC_SP,
};

// The programming cable between the PC's port and the radio.
enum RadioCable {
    RADIO_CABLE_PLAIN,  // an ordinary serial line: bytes pass as they are
    RADIO_CABLE_QOX50,  // passes bytes until its mode frame, then takes only cable packets
    RADIO_CABLE_QOX70,  // passes bytes, but only once it has settled after the port opened
};

// The character format the PC's port uses, as far as the emulator can see it.
// A baud rate of 0 means unknown (no pacing from it, no check).
struct LineSettings {
    unsigned baud = 0;
    int dataBits = 8;
    char parity = 'N';  // 'N', 'E' or 'O'
    int stopBits = 1;
};

struct RadioConfig {
    RadioDialect dialect = DIALECT_STANDARD;
    RadioCable cable = RADIO_CABLE_PLAIN;

    // What the radio reports for its product, and the address it keeps it at.
    std::array<std::uint8_t, 16> productCode = {'Z', 'U', 'L', '-', 'S', 'I', 'M', '-',
                                                 'R', 'A', 'D', 'I', 'O', '-', '0', '1'};
    std::array<std::uint8_t, 3> productAddress = {0, 0, 0};
    bool checkAddress = false;  // false: the product code is answered at any address

    int powerOnMs = 0;          // from the first opening of the port until the radio listens
    int promptIntervalMs = 100; // MIC/SP: between two boot prompts
    int latencyMs = 1;          // from the end of a frame to the start of its answer
    int frameGapMs = 100;       // a pause this long inside a frame throws the frame away
    int settleMs = 0;           // QOX-70: the cable passes nothing this long after an open
    int holdMs = 20;            // QOX-50: how long it holds bytes that may start its mode frame

    bool pace = false;          // bytes take as long as on a real line
    unsigned paceBaud = 0;      // 0: the baud rate of the PC's line settings

    RadioFaults faults;
};
