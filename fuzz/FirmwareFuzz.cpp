// libFuzzer target: any bytes as a firmware file, read both ways, then laid out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "firmware/FWFileInfo.h"
#include "firmware/ProductType.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    FWFileInfo header;
    if (header.LoadHeaderFromBytes(bytes) != 0)
        std::abort();  // a header load has no format error to report
    MatchProductType(header.productCode.data(), 0);
    MatchProductType(header.productCode.data(), 4);

    FWFileInfo info;
    const int result = info.LoadFileFromBytes(bytes);
    if (result != 0 && result != -2)
        std::abort();
    // The window only builds after a successful load, but the builder must stay
    // inside its buffers whatever the records hold. Without records there is nothing
    // to lay out, and skipping the large image keeps the fuzzer fast.
    if (info.firmRecords.empty() && info.ceRecords.empty())
        return 0;
    info.BuildFlashImage();
    if (result == 0) {
        for (const FlashBlock& block : info.blocks) {
            if (block.number < 0)
                std::abort();
        }
    }
    BlocksChecksum(info.blocks);
    return 0;
}
