#include "HostRecord.h"

namespace host {

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
