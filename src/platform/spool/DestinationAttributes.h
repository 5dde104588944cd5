#pragma once
// What a destination says of itself, as plain values (the print service's "-supported" and
// "-default" attributes), and the capabilities and settings record made from them.
#include <optional>
#include <string>
#include <vector>

#include "platform/spool/DeviceMode.h"
#include "platform/spool/PaperTable.h"

namespace platform::spool {

struct DestinationAttributes {
    std::string name;
    std::string makeAndModel;
    int copiesUpper = 1; // copies-supported upper bound
    int copiesDefault = 1;
    std::vector<std::string> sides;
    std::string sidesDefault;
    std::vector<std::string> media;
    std::string mediaDefault;
    std::optional<MediaSize> mediaColDefaultSize; // when media-default is missing
    // media-<side>-margin-supported, hundredths of mm.
    std::vector<int> leftMargins, topMargins, rightMargins, bottomMargins;
    std::vector<std::string> sources;
    std::string sourceDefault;
    std::vector<int> orientations;
    int orientationDefault = 0; // 0: none declared
    std::vector<Resolution> resolutions;
    Resolution resolutionDefault;
    std::vector<std::string> documentHandling; // multiple-document-handling-supported
    std::vector<std::string> scaling;          // print-scaling-supported
};

// The margin a destination keeps on one side in normal (bordered) printing: the smallest
// non-zero value it offers, 0 when it offers only borderless printing or says nothing.
int BorderedMargin(const std::vector<int>& offered);

DeviceCaps CapsFromAttributes(const DestinationAttributes& attributes);

// The file sink: a PDF file, any paper of the table, both orientations, one copy, one side.
DeviceCaps FileSinkCaps(const std::string& name);

} // namespace platform::spool
