#pragma once
// Positions on the earth in degrees, and the rectangle of the earth a map shows.

namespace location {

struct Coordinate {
    double latitude = 0;
    double longitude = 0;
    bool operator==(const Coordinate&) const = default;
};

struct CoordinateSpan {
    double latitudeDelta = 0;
    double longitudeDelta = 0;
    bool operator==(const CoordinateSpan&) const = default;
};

struct CoordinateRegion {
    Coordinate center;
    CoordinateSpan span;
    bool operator==(const CoordinateRegion&) const = default;
};

// Metres between two positions along the earth's surface.
double distanceBetween(const Coordinate& a, const Coordinate& b);

}  // namespace location
