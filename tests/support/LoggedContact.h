// One contact as a log holds it: the four texts the scorer reads. Owns its
// texts, so logs can be kept, rewritten and replayed.
#pragma once

#include <string>

#include "scoring/ContestScorer.h"

struct TLoggedContact {
    std::string CallSign;
    std::string DigiBand;
    std::string QSOMode;
    std::string QSOReportRecived;
};

// A view of the contact for the scorer; valid while `contact` lives.
inline TContact ContactView(const TLoggedContact& contact)
{
    return {contact.CallSign, contact.DigiBand, contact.QSOMode, contact.QSOReportRecived};
}
