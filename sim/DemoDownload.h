#pragma once

#include "data/DataDocument.h"

#include <QDateTime>

// A download as a vet would get it from a collar after some weeks on a cow:
// one record a minute with the daily swing, drinking dips, a heat, an
// implant outage of a few hours and two fevers, one short of two hours and
// one of a day and a half. For pictures, demonstrations and tests.
namespace DemoDownload {
[[nodiscard]] DataDocument make(const QDate& firstDay, int days);
} // namespace DemoDownload
