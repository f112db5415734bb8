#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "firmware/FWFileInfo.h"

// zul info FILE: the header box, the record and block counts and both checksums.
int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// zul verify FILE: loads and builds; 0 only for a well-formed file whose checksums agree.
int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// zul image FILE -o OUT [--format bin|hex]: the flash as the radio would hold it.
int RunImage(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The detail pane's framed box with all nine header fields, one line each.
std::string FormatHeaderBox(const FWFileInfo& info);

// The blocks applied in write order onto an erased flash: every block number that
// is written, with the contents it ends up holding.
std::map<std::int32_t, FlashBlock> ApplyBlocks(const std::vector<FlashBlock>& blocks);

// Raw binary from flash address 0 (at least the 0x87000-byte flash, more when a block
// lies beyond it), 0xFF where no block was written.
std::string FlashImageBinary(const std::map<std::int32_t, FlashBlock>& flash);

// Intel HEX of every written block (16-byte data records under extended linear
// address records), ending with an end-of-file record.
std::string FlashImageHex(const std::map<std::int32_t, FlashBlock>& flash);
