// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

// A position on the ground, in degrees (WGS 84).
struct SSimGeo
{
    double dLat = 0;
    double dLon = 0;
};

// A point in metres east and north of the route's first point.
struct SSimXY
{
    double dX = 0;
    double dY = 0;
};

// The road the simulated module drives, closed into a loop: a track whose
// ends lie apart is driven to its end and back. Positions along it are
// distances in metres from its start; they wrap around the loop.
class CSimRoute
{
public:
    enum EError
    {
        ROUTE_OK,
        ROUTE_UNREADABLE, // the file does not open
        ROUTE_BAD_XML,    // not well-formed
        ROUTE_BAD_POINT,  // a point without a valid lat or lon
        ROUTE_TOO_SHORT   // fewer than two points apart from each other
    };

    // The built-in loop of about 5 km around a city centre.
    static CSimRoute BuiltIn();
    // Reads the track points (trkpt) or else the route points (rtept) of a
    // GPX file; on failure *pError says why.
    static CSimRoute Load(const QString& strFile, int* pCode, QString* pError);

    bool IsValid() const { return m_dLength > 0; }
    // The corner points as read, before the way back is added.
    const std::vector<SSimGeo>& Points() const { return m_points; }
    // Length of one full loop in metres.
    double Length() const { return m_dLength; }
    // Where the route is d metres from its start, and its heading there
    // (degrees clockwise from north).
    SSimXY At(double d, double* pCourse = nullptr) const;

    // Between the local plane of this route and the ground.
    SSimXY ToXY(const SSimGeo& g) const;
    SSimGeo ToGeo(const SSimXY& p) const;
    static double Distance(const SSimXY& a, const SSimXY& b);

private:
    void Build(std::vector<SSimGeo> points);

    std::vector<SSimGeo> m_points;
    std::vector<SSimXY> m_loop;      // closed: the last equals the first
    std::vector<double> m_distances; // from the start to each point of the loop
    double m_dLength = 0;
    double m_dCosLat0 = 1;
};
