#include "HostRecord.h"

#include <algorithm>
#include <cstring>

namespace host {

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
    std::memset(data.ReservedHost1, 0xA5, sizeof data.ReservedHost1);
    std::memset(data.ReservedHost2, 0xA5, sizeof data.ReservedHost2);
    std::memset(data.ReservedHost3, 0xA5, sizeof data.ReservedHost3);
    std::memset(data.ReservedHost4, 0xA5, sizeof data.ReservedHost4);
    std::memset(data.ReservedHost5, 0xA5, sizeof data.ReservedHost5);
    std::memset(data.ReservedHost6, 0xA5, sizeof data.ReservedHost6);
}
}  // namespace

THostRecord::THostRecord(std::uint32_t connection, std::string_view table) : Data_(std::make_unique<TPluginData>())
{
    FillReserved(*Data_);
    Data_->Connection = connection;
    PutSlot(Data_->TableName, table);
    PutSlot(Data_->CaptionPrefix, "Main");
}

THostRecord::THostRecord(const THostRecord& other) : Data_(std::make_unique<TPluginData>(*other.Data_)) {}

THostRecord& THostRecord::operator=(const THostRecord& other)
{
    *Data_ = *other.Data_;
    return *this;
}

THostRecord& THostRecord::Table(std::string_view text) { PutSlot(Data_->TableName, text); return *this; }
THostRecord& THostRecord::Call(std::string_view text) { PutSlot(Data_->CallSign, text); return *this; }
THostRecord& THostRecord::Band(std::string_view text) { PutSlot(Data_->DigiBand, text); return *this; }
THostRecord& THostRecord::Mode(std::string_view text) { PutSlot(Data_->QSOMode, text); return *this; }
THostRecord& THostRecord::Exchange(std::string_view text) { PutSlot(Data_->QSOReportRecived, text); return *this; }
THostRecord& THostRecord::Caption(std::string_view text) { PutSlot(Data_->CaptionPrefix, text); return *this; }
THostRecord& THostRecord::Connection(std::uint32_t connection) { Data_->Connection = connection; return *this; }

namespace {
std::string Padded(const std::string& text, std::size_t width)
{
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}
std::string Number(int value) { return Padded(std::to_string(value), 6); }
}  // namespace

std::string ExpectedReport(std::initializer_list<TBandLine> bands)
{
    std::string text = "Band\t  QSOs\tPoints\tVClist\t\r\n";
    int qsos = 0;
    int points = 0;
    int members = 0;
    for (const TBandLine& line : bands) {
        text += Padded(line.Band, 4) + "\t" + Number(line.QSOs) + "\t" + Number(line.Points) + "\t" +
                Number(line.Members) + "\t\r\n";
        qsos += line.QSOs;
        points += line.Points;
        members += line.Members;
    }
    text += "Total\t" + Number(qsos) + "\t" + Number(points) + "\t" + Number(members) + "\t\r\n";
    text += " Score: " + std::to_string(points) + "*" + std::to_string(members) + "=" + std::to_string(points * members);
    return text;
}

}  // namespace host
