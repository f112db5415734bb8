#pragma once

#include <cstdint>

// What the emulated radio saw during a run, for the closing summary and for tests.
struct RadioRecord {
    int portOpens = 0;
    int portCloses = 0;

    int syncEchoes = 0;      // sync bytes 0x00 echoed
    int confirmEchoes = 0;   // confirm bytes 0x5A echoed
    int prompts = 0;         // MIC/SP boot prompts sent
    bool promptAnswered = false;

    int frames = 0;          // good frames of every kind
    int badFrames = 0;       // wrong sum, wrong shape, or cut short by a pause
    int codeAnswers = 0;     // product code answers sent
    int wrongAddresses = 0;  // address frames for another address
    int blockFrames = 0;     // block frames stored (rewrites included)
    int protects = 0;        // protect commands answered
    bool endFrame = false;   // MIC/SP end frame received
    int strayBytes = 0;      // bytes outside any frame that mean nothing to the radio

    int modeFrames = 0;      // QOX-50 cable mode frames taken
    int packets = 0;         // QOX-50 cable packets passed on
    int badPackets = 0;      // QOX-50 cable packets rejected
    int lostBytes = 0;       // bytes the line or the cable lost (faults, settling, wrong format)
};
