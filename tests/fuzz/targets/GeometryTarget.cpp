#include "FuzzTargets.h"

#include "geometry/LayoutGeometry.h"
#include "geometry/Polygon.h"

#include <cstring>
#include <vector>

namespace kovra_fuzz {

namespace {

// Numbers from the input: mostly small ones in quarter metres, which make
// real outlines, and now and then a raw double (infinities, NaN, subnormals,
// the huge and the tiny).
class Numbers {
public:
    Numbers(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return position_ >= size_; }

    double next()
    {
        if (empty())
            return 0.0;
        const std::uint8_t tag = data_[position_++];
        if (tag < 0xF0 || size_ - position_ < sizeof(double))
            return static_cast<std::int8_t>(tag) / 4.0;
        double value;
        std::memcpy(&value, data_ + position_, sizeof value);
        position_ += sizeof value;
        return value;
    }

    std::size_t count(std::size_t most) { return empty() ? 0 : data_[position_++] % (most + 1); }
    Vec2 point() { return {next(), next()}; }
    std::vector<Vec2> points(std::size_t most)
    {
        std::vector<Vec2> result(count(most));
        for (Vec2& p : result)
            p = point();
        return result;
    }
    Segment segment() { return {point(), point()}; }
    RoomRect room() { return {point(), point()}; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

void runOne(Numbers& in)
{
    switch (in.count(9)) {
    case 0: {
        const std::vector<Vec2> contour = in.points(12);
        insetPolygon(contour, in.next());
        break;
    }
    case 1: {
        const std::vector<Vec2> contour = in.points(12);
        const RoomRect room = in.room();
        clipRoomToOuterWall(contour, room, in.next());
        break;
    }
    case 2: {
        const std::vector<Vec2> contour = in.points(12);
        const RoomRect room = in.room();
        roomInteriorEdges(contour, room, in.next());
        break;
    }
    case 3: {
        const Segment segment = in.segment();
        std::vector<Segment> cuts(in.count(8));
        for (Segment& cut : cuts)
            cut = in.segment();
        subtractSegments(segment, cuts);
        break;
    }
    case 4:
        removeCollinearPoints(in.points(12));
        break;
    case 5: {
        Vec2 door;
        const RoomRect a = in.room();
        const RoomRect b = in.room();
        const double t = in.next();
        computeDoorPosition(door, a, b, t, in.next());
        break;
    }
    case 6: {
        std::vector<Interval> intervals(in.count(8));
        for (Interval& interval : intervals)
            interval = {in.next(), in.next()};
        mergeLineIntervals(intervals);
        break;
    }
    case 7: {
        std::vector<Segment> segments(in.count(8));
        for (Segment& segment : segments)
            segment = in.segment();
        const std::vector<Vec2> contour = in.points(12);
        double t = in.next();
        buildInteriorWalls(segments, contour, t);
        break;
    }
    case 8: {
        Polygon polygon(in.points(12));
        polygon.getArea();
        polygon.makeClockwise();
        break;
    }
    default: {
        const std::vector<Vec2> points = in.points(12);
        twiceSignedArea(points);
        if (points.size() >= 2)
            flipVertically(points);
        break;
    }
    }
}

} // namespace

void geometry(const std::uint8_t* data, std::size_t size)
{
    Numbers in(data, size);
    while (!in.empty()) {
        try {
            runOne(in);
        } catch (const GeometryError&) {
            // The documented refusal of what the clipping cannot take.
        }
    }
}

} // namespace kovra_fuzz
