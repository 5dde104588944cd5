#include "platform/spool/DeviceInfo.h"

#include "platform/spool/CupsConnection.h"
#include "platform/spool/CupsDest.h"
#include "platform/spool/DefaultDestination.h"
#include "platform/spool/DestinationAttributes.h"
#include "rtl/Exception.h"

namespace platform::spool {

namespace {

constexpr double kCentimetresPerInch = 2.54;

std::vector<std::string> Keywords(ipp_attribute_t* attr) {
    std::vector<std::string> values;
    for (int i = 0, n = attr ? detail::Cups().ippGetCount(attr) : 0; i < n; ++i)
        if (const char* text = detail::Cups().ippGetString(attr, i, nullptr))
            values.emplace_back(text);
    return values;
}

std::string Keyword(ipp_attribute_t* attr) {
    const char* text = attr ? detail::Cups().ippGetString(attr, 0, nullptr) : nullptr;
    return text ? text : "";
}

std::vector<int> Integers(ipp_attribute_t* attr) {
    std::vector<int> values;
    for (int i = 0, n = attr ? detail::Cups().ippGetCount(attr) : 0; i < n; ++i)
        values.push_back(detail::Cups().ippGetInteger(attr, i));
    return values;
}

Resolution ResolutionAt(ipp_attribute_t* attr, int index) {
    ipp_res_t units = IPP_RES_PER_INCH;
    int y = 0;
    int x = detail::Cups().ippGetResolution(attr, index, &y, &units);
    if (units == IPP_RES_PER_CM)
        return Resolution{int(x * kCentimetresPerInch + 0.5), int(y * kCentimetresPerInch + 0.5)};
    return Resolution{x, y};
}

class AttributeReader {
public:
    AttributeReader(const detail::CupsConnection& c, detail::CupsDest& d) : m_c(c), m_d(d) {}
    ipp_attribute_t* Supported(const char* name) const {
        return detail::Cups().cupsFindDestSupported(m_c.Http(), m_d.Dest(), m_d.Info(), name);
    }
    ipp_attribute_t* Default(const char* name) const {
        ipp_attribute_t* attr =
            detail::Cups().cupsFindDestDefault(m_c.Http(), m_d.Dest(), m_d.Info(), name);
        return attr && detail::Cups().ippGetValueTag(attr) != IPP_TAG_NOVALUE ? attr : nullptr;
    }

private:
    const detail::CupsConnection& m_c;
    detail::CupsDest& m_d;
};

void ReadCopiesAndSides(const AttributeReader& r, DestinationAttributes& a) {
    if (ipp_attribute_t* copies = r.Supported("copies")) {
        int upper = 1;
        if (detail::Cups().ippGetValueTag(copies) == IPP_TAG_RANGE)
            detail::Cups().ippGetRange(copies, 0, &upper);
        else
            upper = detail::Cups().ippGetInteger(copies, 0);
        a.copiesUpper = upper;
    }
    if (ipp_attribute_t* copies = r.Default("copies"))
        a.copiesDefault = detail::Cups().ippGetInteger(copies, 0);
    a.sides = Keywords(r.Supported("sides"));
    a.sidesDefault = Keyword(r.Default("sides"));
}

void ReadMedia(const AttributeReader& r, DestinationAttributes& a) {
    a.media = Keywords(r.Supported("media"));
    a.mediaDefault = Keyword(r.Default("media"));
    if (ipp_attribute_t* col = r.Default("media-col"))
        if (ipp_t* value = detail::Cups().ippGetCollection(col, 0))
            if (ipp_attribute_t* size =
                    detail::Cups().ippFindAttribute(value, "media-size", IPP_TAG_BEGIN_COLLECTION))
                if (ipp_t* dims = detail::Cups().ippGetCollection(size, 0)) {
                    ipp_attribute_t* x =
                        detail::Cups().ippFindAttribute(dims, "x-dimension", IPP_TAG_INTEGER);
                    ipp_attribute_t* y =
                        detail::Cups().ippFindAttribute(dims, "y-dimension", IPP_TAG_INTEGER);
                    if (x && y)
                        a.mediaColDefaultSize = MediaSize{detail::Cups().ippGetInteger(x, 0),
                                                          detail::Cups().ippGetInteger(y, 0)};
                }
    a.leftMargins = Integers(r.Supported("media-left-margin"));
    a.topMargins = Integers(r.Supported("media-top-margin"));
    a.rightMargins = Integers(r.Supported("media-right-margin"));
    a.bottomMargins = Integers(r.Supported("media-bottom-margin"));
    a.sources = Keywords(r.Supported("media-source"));
    a.sourceDefault = Keyword(r.Default("media-source"));
}

void ReadLayout(const AttributeReader& r, DestinationAttributes& a) {
    a.orientations = Integers(r.Supported("orientation-requested"));
    if (ipp_attribute_t* orientation = r.Default("orientation-requested"))
        a.orientationDefault = detail::Cups().ippGetInteger(orientation, 0);
    if (ipp_attribute_t* res = r.Supported("printer-resolution"))
        for (int i = 0; i < detail::Cups().ippGetCount(res); ++i)
            a.resolutions.push_back(ResolutionAt(res, i));
    if (ipp_attribute_t* res = r.Default("printer-resolution"))
        a.resolutionDefault = ResolutionAt(res, 0);
    a.documentHandling = Keywords(r.Supported("multiple-document-handling"));
    a.scaling = Keywords(r.Supported("print-scaling"));
}

} // namespace

DeviceCaps ReadDevice(const std::string& name) {
    if (IsFileDestination(name))
        return FileSinkCaps(name);
    detail::CupsConnection connection;
    if (!connection.Connected())
        throw rtl::EPrinter(connection.Failure());
    detail::CupsDest dest(name);
    if (!dest.CopyInfo(connection))
        throw rtl::EPrinter(connection.Failure());
    AttributeReader reader(connection, dest);
    DestinationAttributes a;
    a.name = name;
    a.makeAndModel = dest.MakeAndModel();
    ReadCopiesAndSides(reader, a);
    ReadMedia(reader, a);
    ReadLayout(reader, a);
    return CapsFromAttributes(a);
}

} // namespace platform::spool
