// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimRoute.h"

#include <QFile>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

namespace {
const double EARTH_RADIUS_M = 6371000.0;
const double PI = 3.14159265358979323846;
const double DEG = PI / 180.0;
// Ends closer than this already make a loop.
const double LOOP_CLOSED_M = 50.0;
// A longer file is not a route to drive.
const qint64 MAX_FILE_BYTES = 64LL * 1024 * 1024;
const size_t MAX_POINTS = 1000000;

// The built-in loop: a wavy ring about 800 m around Berlin's centre.
const SSimGeo BUILT_IN_CENTRE = {52.5200, 13.4050};
const int BUILT_IN_POINTS = 48;
const double BUILT_IN_RADIUS_M = 800.0;

bool ReadCoordinate(const QXmlStreamAttributes& a, const char* name, double limit, double* pValue)
{
    bool bOk = false;
    *pValue = a.value(QLatin1String(name)).toDouble(&bOk);
    return bOk && std::isfinite(*pValue) && std::fabs(*pValue) <= limit;
}
} // namespace

CSimRoute CSimRoute::BuiltIn()
{
    std::vector<SSimGeo> points;
    const double cosLat = std::cos(BUILT_IN_CENTRE.dLat * DEG);
    for (int i = 0; i < BUILT_IN_POINTS; ++i) {
        const double a = 2 * PI * i / BUILT_IN_POINTS;
        const double r = BUILT_IN_RADIUS_M * (1 + 0.15 * std::sin(3 * a));
        const double dNorth = r * std::cos(a), dEast = r * std::sin(a);
        points.push_back({BUILT_IN_CENTRE.dLat + dNorth / EARTH_RADIUS_M / DEG,
                          BUILT_IN_CENTRE.dLon + dEast / (EARTH_RADIUS_M * cosLat) / DEG});
    }
    points.push_back(points.front());
    CSimRoute route;
    route.Build(points);
    return route;
}

CSimRoute CSimRoute::Load(const QString& strFile, int* pCode, QString* pError)
{
    CSimRoute route;
    auto fail = [&](int nCode, const QString& strWhy) {
        *pCode = nCode;
        *pError = QStringLiteral("--route %1: %2").arg(strFile, strWhy);
        return CSimRoute();
    };
    QFile f(strFile);
    if (!f.open(QIODevice::ReadOnly))
        return fail(ROUTE_UNREADABLE, f.errorString());
    if (f.size() > MAX_FILE_BYTES)
        return fail(ROUTE_UNREADABLE, QStringLiteral("larger than 64 MB"));
    std::vector<SSimGeo> track, planned;
    QXmlStreamReader xml(&f);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const bool bTrack = xml.name() == QLatin1String("trkpt");
        if (!bTrack && xml.name() != QLatin1String("rtept"))
            continue;
        SSimGeo g;
        if (!ReadCoordinate(xml.attributes(), "lat", 90, &g.dLat) ||
            !ReadCoordinate(xml.attributes(), "lon", 180, &g.dLon))
            return fail(ROUTE_BAD_POINT,
                        QStringLiteral("line %1: a point without a valid lat and lon")
                            .arg(xml.lineNumber()));
        std::vector<SSimGeo>& list = bTrack ? track : planned;
        if (list.size() >= MAX_POINTS)
            return fail(ROUTE_UNREADABLE, QStringLiteral("more than a million points"));
        list.push_back(g);
    }
    if (xml.hasError())
        return fail(ROUTE_BAD_XML,
                    QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString()));
    route.Build(track.empty() ? planned : track);
    if (!route.IsValid())
        return fail(ROUTE_TOO_SHORT, QStringLiteral("no track or route with two points apart"));
    *pCode = ROUTE_OK;
    return route;
}

void CSimRoute::Build(std::vector<SSimGeo> points)
{
    m_points = std::move(points);
    m_loop.clear();
    m_distances.clear();
    m_dLength = 0;
    if (m_points.size() < 2)
        return;
    m_dCosLat0 = std::cos(m_points.front().dLat * DEG);
    for (const SSimGeo& g : m_points)
        m_loop.push_back(ToXY(g));
    if (Distance(m_loop.front(), m_loop.back()) > LOOP_CLOSED_M) {
        // driven to the end and back
        for (size_t i = m_points.size() - 1; i-- > 0;)
            m_loop.push_back(m_loop[i]);
    } else {
        m_loop.back() = m_loop.front();
    }
    m_distances.push_back(0);
    for (size_t i = 1; i < m_loop.size(); ++i)
        m_distances.push_back(m_distances.back() + Distance(m_loop[i - 1], m_loop[i]));
    m_dLength = m_distances.back();
}

SSimXY CSimRoute::At(double d, double* pCourse) const
{
    if (!IsValid())
        return {};
    d = std::fmod(d, m_dLength);
    if (d < 0)
        d += m_dLength;
    // the first point of the loop further than d
    size_t i = std::upper_bound(m_distances.begin(), m_distances.end(), d) - m_distances.begin();
    i = std::clamp<size_t>(i, 1, m_loop.size() - 1);
    while (i + 1 < m_loop.size() && m_distances[i] == m_distances[i - 1])
        ++i; // repeated points have no heading
    const SSimXY& a = m_loop[i - 1];
    const SSimXY& b = m_loop[i];
    const double seg = m_distances[i] - m_distances[i - 1];
    const double t = seg > 0 ? std::clamp((d - m_distances[i - 1]) / seg, 0.0, 1.0) : 0.0;
    if (pCourse) {
        const double c = std::atan2(b.dX - a.dX, b.dY - a.dY) / DEG;
        *pCourse = c < 0 ? c + 360 : c;
    }
    return {a.dX + t * (b.dX - a.dX), a.dY + t * (b.dY - a.dY)};
}

SSimXY CSimRoute::ToXY(const SSimGeo& g) const
{
    if (m_points.empty())
        return {};
    const SSimGeo& o = m_points.front();
    return {(g.dLon - o.dLon) * DEG * EARTH_RADIUS_M * m_dCosLat0,
            (g.dLat - o.dLat) * DEG * EARTH_RADIUS_M};
}

SSimGeo CSimRoute::ToGeo(const SSimXY& p) const
{
    if (m_points.empty())
        return {};
    const SSimGeo& o = m_points.front();
    return {o.dLat + p.dY / EARTH_RADIUS_M / DEG,
            o.dLon + p.dX / (EARTH_RADIUS_M * m_dCosLat0) / DEG};
}

double CSimRoute::Distance(const SSimXY& a, const SSimXY& b)
{
    return std::hypot(a.dX - b.dX, a.dY - b.dY);
}
