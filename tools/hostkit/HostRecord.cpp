#include "hostkit/HostRecord.h"

#include <algorithm>
#include <cstring>

namespace hostkit {

std::string SlotText(const TShortStringSlot& slot)
{
    return std::string(reinterpret_cast<const char*>(slot.Bytes + 1), slot.Bytes[0]);
}

void PutSlot(TShortStringSlot& slot, std::string_view text)
{
    const std::size_t length = std::min<std::size_t>(text.size(), 255);
    slot.Bytes[0] = static_cast<std::uint8_t>(length);
    std::memcpy(slot.Bytes + 1, text.data(), length);
}

namespace {
void FillReserved(TPluginData& data)
{
    std::memset(&data, 0, sizeof data);
    std::memset(data.ReservedHost1, kReservedFill, sizeof data.ReservedHost1);
    std::memset(data.ReservedHost2, kReservedFill, sizeof data.ReservedHost2);
    std::memset(data.ReservedHost3, kReservedFill, sizeof data.ReservedHost3);
    std::memset(data.ReservedHost4, kReservedFill, sizeof data.ReservedHost4);
    std::memset(data.ReservedHost5, kReservedFill, sizeof data.ReservedHost5);
    std::memset(data.ReservedHost6, kReservedFill, sizeof data.ReservedHost6);
}
}  // namespace

THostRecord::THostRecord(std::uint32_t connection, std::string_view table, std::string_view captionPrefix)
    : Data_(std::make_unique<TPluginData>())
{
    FillReserved(*Data_);
    Data_->Connection = connection;
    PutSlot(Data_->TableName, table);
    PutSlot(Data_->CaptionPrefix, captionPrefix);
}

THostRecord::THostRecord(const THostRecord& other) : Data_(std::make_unique<TPluginData>(*other.Data_)) {}

THostRecord& THostRecord::operator=(const THostRecord& other)
{
    if (this != &other)
        *Data_ = *other.Data_;
    return *this;
}

THostRecord& THostRecord::Table(std::string_view text)
{
    PutSlot(Data_->TableName, text);
    return *this;
}
THostRecord& THostRecord::Call(std::string_view text)
{
    PutSlot(Data_->CallSign, text);
    return *this;
}
THostRecord& THostRecord::Band(std::string_view text)
{
    PutSlot(Data_->DigiBand, text);
    return *this;
}
THostRecord& THostRecord::Mode(std::string_view text)
{
    PutSlot(Data_->QSOMode, text);
    return *this;
}
THostRecord& THostRecord::Exchange(std::string_view text)
{
    PutSlot(Data_->QSOReportRecived, text);
    return *this;
}
THostRecord& THostRecord::Caption(std::string_view text)
{
    PutSlot(Data_->CaptionPrefix, text);
    return *this;
}
THostRecord& THostRecord::Connection(std::uint32_t connection)
{
    Data_->Connection = connection;
    return *this;
}

}  // namespace hostkit
