#include "layouter/StartLayout.h"

#include "layouter/HeldStart.h"
#include "layouter/ModelNames.h"
#include "model/Constants.h"
#include "model/Requirement.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <unordered_set>

namespace startlayout {

namespace {

constexpr double eps = 1e-7;

// What the packing needs of a requirement; sides and extents gross (one wall
// thickness included), areas net, as the model has them.
struct Wanted {
    int index = 0;
    int level = 0;
    double area = 0.0;
    double lmin = 0.0, lmax = 0.0, wmin = 0.0, wmax = 0.0;
    double amin = 0.0, amax = 0.0;
    double minRatio = 0.0, maxRatio = 0.0;
    bool vertical = false; // the ratio binds w / l instead of l / w
    double corridorDepth = 0.0;
    bool stair = false;
    bool corridor = false;
    bool entrance = false;
    std::set<std::string> wishes;
};

std::set<std::string> wishesOf(const bg::Requirement& requirement)
{
    const std::vector<std::string> boundaries = requirement.getBoundaries();
    if (boundaries.empty())
        return {};
    const std::string& wish = boundaries.front();
    std::set<std::string> sides;
    for (const char* side : {"east", "south", "west", "north"})
        if (wish.find(side) != std::string::npos)
            sides.insert(side);
    return sides;
}

Wanted wantedOf(const bg::Requirement& requirement, double t)
{
    Wanted want;
    want.index = requirement.getIndex();
    want.level = requirement.getLevel();
    want.area = requirement.getArea();
    const auto [lmin, lmax] = requirement.getLengthRange();
    const auto [wmin, wmax] = requirement.getWidthRange();
    want.lmin = lmin + t;
    want.lmax = lmax + t;
    want.wmin = wmin + t;
    want.wmax = wmax + t;
    const auto [amin, amax] = requirement.getAreaErrorRange();
    want.amin = amin;
    want.amax = amax;
    const auto [minRatio, maxRatio] = requirement.getAspectRatioRange();
    want.minRatio = minRatio;
    want.maxRatio = maxRatio;
    want.vertical = requirement.getOrientation() != "horizontal";
    want.stair = requirement.getRoomType() == "Stair";
    want.corridor = requirement.getRoomType() == "Corridor";
    want.entrance = requirement.getRoomType() == "Entrance";
    // A corridor runs along x at its narrow target side.
    const auto [targetLength, targetWidth] = requirement.getTargetSize();
    want.corridorDepth = std::clamp(std::min(targetLength, targetWidth) + t, want.wmin, want.wmax);
    want.wishes = wishesOf(requirement);
    return want;
}

// A strip of the floor across its whole width: a row of rooms or a corridor.
struct Strip {
    std::vector<const Wanted*> rooms;
    bool corridor = false;
    // Rooms shorter than the strip keep to its north edge (a row south of a
    // corridor) instead of its south edge.
    bool anchorNorth = false;
    double fixedDepth = -1.0;
};

// A stair's place, taken by every stair of the building.
struct StairPlace {
    bool known = false;
    double x = 0.0, y = 0.0, l = 0.0, w = 0.0, stripDepth = 0.0;
};

double rowArea(const Strip& strip)
{
    double sum = 0.0;
    for (const Wanted* want : strip.rooms)
        sum += want->area;
    return sum;
}

// How far a rectangle is outside the room's limits, in metres of side.
double violation(const Wanted& want, double l, double w, double t)
{
    double v = std::max(0.0, want.lmin - l) + std::max(0.0, l - want.lmax) + std::max(0.0, want.wmin - w) +
               std::max(0.0, w - want.wmax);
    const double z = std::max(0.0, l - t) * std::max(0.0, w - t);
    const double side = std::sqrt(std::max(want.area, 1.0));
    v += (std::max(0.0, want.amin - z) + std::max(0.0, z - want.amax)) / side;
    const double ratioL = want.vertical ? w : l, ratioW = want.vertical ? l : w;
    v += std::max(0.0, want.minRatio * ratioW - ratioL) + std::max(0.0, ratioL - want.maxRatio * ratioW);
    return v;
}

// Brings a rectangle within the room's limits where the floor may keep
// space free: sides into their ranges, then the ratio, then the net area.
void bringWithinLimits(const Wanted& want, double& l, double& w, double t)
{
    w = std::clamp(w, want.wmin, want.wmax);
    l = std::clamp(l, want.lmin, want.lmax);
    if (want.vertical)
        w = std::clamp(w, want.minRatio * l, std::max(want.minRatio * l, want.maxRatio * l));
    else
        l = std::clamp(l, want.minRatio * w, std::max(want.minRatio * w, want.maxRatio * w));
    if (w - t > eps) {
        const double z = (l - t) * (w - t);
        if (z > want.amax)
            l = want.amax / (w - t) + t;
        else if (z < want.amin)
            l = std::min(want.lmax, want.amin / (w - t) + t);
    }
}

struct Placed {
    std::vector<PackedRoom> rooms;
    double penalty = 0.0;
    bool ok = false;
};

// Lays the strips out south to north over the box; rooms of a row share its
// length in proportion to their areas.
Placed placeStrips(const std::vector<Strip>& strips, const BoundingBox& box, double t, bool fill,
                   StairPlace& stair)
{
    Placed placed;
    const double W = box.max.x - box.min.x, H = box.max.y - box.min.y;
    std::vector<double> depths(strips.size(), 0.0);
    double fixedSum = 0.0, shared = 0.0;
    for (std::size_t s = 0; s < strips.size(); ++s) {
        const Strip& strip = strips[s];
        if (strip.corridor)
            depths[s] = strip.rooms.front()->corridorDepth;
        else if (strip.fixedDepth > 0.0)
            depths[s] = strip.fixedDepth;
        if (depths[s] > 0.0)
            fixedSum += depths[s];
        else
            shared += rowArea(strip);
    }
    if (fixedSum >= H - eps && shared > 0.0)
        return placed;
    // Rows share the rest in proportion to their areas, but none less than
    // its rooms' shortest side allows: such a row gets that, the others share
    // what is left, until every row is deep enough or none can be.
    std::vector<bool> raised(strips.size(), false);
    for (std::size_t round = 0; round <= strips.size(); ++round) {
        double rest = H - fixedSum, restArea = 0.0;
        for (std::size_t s = 0; s < strips.size(); ++s) {
            if (raised[s])
                rest -= depths[s];
            else if (depths[s] <= 0.0 || (!strips[s].corridor && strips[s].fixedDepth <= 0.0))
                restArea += rowArea(strips[s]);
        }
        bool changed = false;
        for (std::size_t s = 0; s < strips.size(); ++s) {
            const Strip& strip = strips[s];
            if (raised[s] || strip.corridor || strip.fixedDepth > 0.0)
                continue;
            depths[s] = restArea > 0.0 ? rest * rowArea(strip) / restArea : 0.0;
            double need = 0.0;
            for (const Wanted* want : strip.rooms)
                need = std::max(need, want->wmin);
            if (depths[s] < need - eps) {
                depths[s] = need;
                raised[s] = true;
                changed = true;
            }
        }
        if (!changed)
            break;
    }

    // Where the floor may keep space free, a corridor ends at its longest
    // side, and the rows along it end with it: a room beyond its end would
    // have no door.
    std::vector<double> lengths(strips.size(), W);
    std::vector<double> corridorDepths(strips.size(), 0.0);
    for (std::size_t s = 0; s < strips.size(); ++s) {
        if (!strips[s].corridor)
            continue;
        double l = W, w = depths[s];
        if (!fill)
            bringWithinLimits(*strips[s].rooms.front(), l, w, t);
        lengths[s] = l;
        corridorDepths[s] = w;
        if (s > 0 && !strips[s - 1].corridor)
            lengths[s - 1] = std::min(lengths[s - 1], l);
        if (s + 1 < strips.size() && !strips[s + 1].corridor)
            lengths[s + 1] = std::min(lengths[s + 1], l);
    }

    // A corridor shorter than the floor, with its rows, keeps to the east
    // end when a room along it wishes the east facade and none the west nor
    // is a stair (whose place is the same on every level).
    std::vector<double> offsets(strips.size(), 0.0);
    for (std::size_t s = 0; s < strips.size(); ++s) {
        if (!strips[s].corridor || lengths[s] >= W - eps)
            continue;
        bool east = false, west = false;
        std::vector<std::size_t> along;
        for (const std::size_t n : {s - 1, s + 1}) {
            if (n >= strips.size() || strips[n].corridor || lengths[n] > lengths[s] + eps)
                continue;
            along.push_back(n);
            for (const Wanted* want : strips[n].rooms) {
                east = east || want->wishes.count("east") != 0;
                west = west || want->wishes.count("west") != 0 || want->stair;
            }
        }
        if (!east || west)
            continue;
        offsets[s] = W - lengths[s];
        for (const std::size_t n : along)
            offsets[n] = offsets[s];
    }

    // Facade wishes met by touching the box's side along the room's whole
    // extent (the floor is its box); an entrance touches some side.
    auto missedWishes = [&](const Wanted& want, const PackedRoom& room) {
        auto touches = [&](const std::string& side) {
            if (side == "east")
                return std::fabs(room.x + room.l - box.max.x) < eps;
            if (side == "west")
                return std::fabs(room.x - box.min.x) < eps;
            if (side == "south")
                return std::fabs(room.y - box.min.y) < eps;
            return std::fabs(room.y + room.w - box.max.y) < eps;
        };
        double missed = 0.0;
        for (const std::string& side : want.wishes)
            if (!touches(side))
                missed += 1.0;
        if (want.entrance && !touches("east") && !touches("west") && !touches("south") && !touches("north"))
            missed += 1.0;
        return missed;
    };

    double y = box.min.y;
    for (std::size_t s = 0; s < strips.size(); ++s) {
        const Strip& strip = strips[s];
        const double depth = depths[s];
        const double start = box.min.x + offsets[s];
        if (strip.corridor) {
            const Wanted& c = *strip.rooms.front();
            const double l = lengths[s], w = fill ? depth : corridorDepths[s];
            placed.penalty += violation(c, l, w, t);
            placed.rooms.push_back({c.index, start, y, l, w});
            y += depth;
            continue;
        }
        // In a row moved to the east end, an entrance takes that end too,
        // unless a room wishing the east facade does.
        std::vector<const Wanted*> rooms = strip.rooms;
        const bool shifted = offsets[s] > eps;
        if (shifted && std::none_of(rooms.begin(), rooms.end(),
                                    [](const Wanted* want) { return want->wishes.count("east") != 0; }))
            std::stable_partition(rooms.begin(), rooms.end(), [](const Wanted* want) { return !want->entrance; });
        double fixedLength = 0.0, area = 0.0;
        for (const Wanted* want : rooms) {
            if (want->stair && stair.known)
                fixedLength += stair.l;
            else
                area += want->area;
        }
        const std::size_t count = rooms.size();
        std::vector<double> ls(count), ws(count);
        std::vector<bool> fixedRoom(count, false);
        double total = 0.0;
        for (std::size_t k = 0; k < count; ++k) {
            const Wanted* want = rooms[k];
            fixedRoom[k] = want->stair && stair.known;
            ls[k] = fixedRoom[k] ? stair.l : (lengths[s] - fixedLength) * want->area / area;
            ws[k] = fixedRoom[k] ? stair.w : depth;
            if (!fill && !fixedRoom[k])
                bringWithinLimits(*want, ls[k], ws[k], t);
            total += ls[k];
        }
        // Rooms that grew to their limits push the row past its end: the
        // others give up length down to their own limits.
        const double excess = total - lengths[s];
        if (!fill && excess > eps) {
            std::vector<double> slack(count, 0.0);
            double slackSum = 0.0;
            for (std::size_t k = 0; k < count; ++k) {
                if (fixedRoom[k])
                    continue;
                const Wanted& want = *rooms[k];
                double least = want.lmin;
                if (ws[k] - t > eps)
                    least = std::max(least, want.amin / (ws[k] - t) + t);
                if (!want.vertical)
                    least = std::max(least, want.minRatio * ws[k]);
                slack[k] = std::max(0.0, ls[k] - least);
                slackSum += slack[k];
            }
            if (slackSum > eps)
                for (std::size_t k = 0; k < count; ++k)
                    ls[k] -= slack[k] * std::min(1.0, excess / slackSum);
        }
        double x = start;
        for (std::size_t k = 0; k < count; ++k) {
            const Wanted* want = rooms[k];
            const double l = ls[k], w = ws[k];
            const double roomY = strip.anchorNorth ? y + depth - w : y;
            PackedRoom room{want->index, x, roomY, l, w};
            // The last room of a row keeps to the east end when it wishes so,
            // or when it is an entrance the row's stair or place keeps from
            // the west.
            if (k + 1 == count && (want->wishes.count("east") || (want->entrance && (k > 0 || shifted))))
                room.x = std::max(x, start + lengths[s] - l);
            if (want->stair) {
                if (stair.known) {
                    room.x = stair.x;
                    room.y = stair.y;
                } else {
                    stair = {true, room.x, room.y, l, w, depth};
                }
            }
            // What the solver would reject: limits missed after all, and
            // any part outside the box.
            placed.penalty += violation(*want, l, w, t) + std::max(0.0, box.min.x - room.x) +
                              std::max(0.0, room.x + l - box.max.x) + std::max(0.0, box.min.y - room.y) +
                              std::max(0.0, room.y + w - box.max.y) + missedWishes(*want, room);
            placed.rooms.push_back(room);
            x = room.x + l;
        }
        y += depth;
    }
    placed.ok = true;
    return placed;
}

// Puts each room into the row of `rows` with the least area so far, after
// the rooms a wish or a stair ties to a row; keeps stairs at the west end,
// west wishes before and east wishes after the others.
void distribute(std::vector<const Wanted*> rooms, std::vector<Strip*>& rows,
                const std::map<int, int>& partner, bool southWishTies, bool northWishTies,
                std::mt19937* shuffle = nullptr)
{
    // Largest first fills the rows evenly; a shuffled order tries other
    // splits when the even one leaves a row too shallow for its rooms.
    if (shuffle != nullptr)
        std::shuffle(rooms.begin(), rooms.end(), *shuffle);
    std::stable_sort(rooms.begin(), rooms.end(), [&](const Wanted* a, const Wanted* b) {
        if (a->stair != b->stair)
            return a->stair;
        return shuffle == nullptr && a->area > b->area;
    });
    std::map<int, Strip*> rowOf;
    for (const Wanted* want : rooms) {
        Strip* row = nullptr;
        const auto linked = partner.find(want->index);
        if (linked != partner.end() && rowOf.count(linked->second))
            row = rowOf[linked->second];
        else if (want->stair)
            row = rows.front();
        else if (southWishTies && want->wishes.count("south"))
            row = rows.front();
        else if (northWishTies && want->wishes.count("north"))
            row = rows.back();
        else if (want->entrance && rows.size() > 2)
            row = rows.front();
        if (row == nullptr)
            row = *std::min_element(rows.begin(), rows.end(),
                                    [](const Strip* a, const Strip* b) { return rowArea(*a) < rowArea(*b); });
        row->rooms.push_back(want);
        rowOf[want->index] = row;
    }
    for (Strip* row : rows) {
        // An entrance takes the west end, which is a wall, or after a stair
        // the east end.
        const bool stairFirst =
            std::any_of(row->rooms.begin(), row->rooms.end(), [](const Wanted* s) { return s->stair; });
        std::stable_sort(row->rooms.begin(), row->rooms.end(), [&](const Wanted* a, const Wanted* b) {
            auto rank = [&](const Wanted* s) {
                if (s->stair)
                    return 0;
                if (s->wishes.count("west") || (s->entrance && !stairFirst))
                    return 1;
                if (s->wishes.count("east") || s->entrance)
                    return 3;
                return 2;
            };
            return rank(a) < rank(b);
        });
    }
}

// Rooms tied by a door to another ordinary room of the level go into the
// same row, next to each other.
std::map<int, int> doorPartners(const std::vector<const Wanted*>& rooms,
                                const std::set<std::pair<int, int>>& doors)
{
    std::map<int, int> partner;
    for (const Wanted* a : rooms)
        for (const Wanted* b : rooms)
            if (a != b && doors.count({a->index, b->index}) && !partner.count(a->index) && !partner.count(b->index))
                partner[b->index] = a->index;
    return partner;
}

std::vector<PackedRoom> packLevel(const std::vector<const Wanted*>& level, const std::set<std::pair<int, int>>& doors,
                                  const BoundingBox& box, double t, bool fill, StairPlace& stair)
{
    // Corridors with doors, each with the rooms it serves.
    std::vector<const Wanted*> corridors;
    std::map<int, std::vector<const Wanted*>> served;
    std::set<int> taken;
    for (const Wanted* c : level) {
        if (!c->corridor)
            continue;
        for (const Wanted* r : level)
            if (r != c && !r->corridor && !taken.count(r->index) && doors.count({c->index, r->index})) {
                served[c->index].push_back(r);
                taken.insert(r->index);
            }
        if (!served[c->index].empty())
            corridors.push_back(c);
    }
    std::vector<const Wanted*> others;
    for (const Wanted* r : level)
        if (!taken.count(r->index) && std::find(corridors.begin(), corridors.end(), r) == corridors.end())
            others.push_back(r);
    // The band with a stair goes south, so that the stair's place is the
    // same whatever the other levels hold; then bands whose rooms wish the
    // south facade or are entrances, and last those wishing the north.
    auto rank = [&](const Wanted* c) {
        int value = 0;
        for (const Wanted* r : served[c->index]) {
            if (r->stair)
                value = std::min(value, -4);
            if (r->wishes.count("south") || r->entrance)
                value = std::min(value, -2);
        }
        for (const Wanted* r : served[c->index])
            if (r->wishes.count("north") && value == 0)
                value = 2;
        return value;
    };
    std::stable_sort(corridors.begin(), corridors.end(),
                     [&](const Wanted* a, const Wanted* b) { return rank(a) < rank(b); });

    auto finish = [&](std::vector<Strip>& strips) {
        if (stair.known)
            for (Strip& strip : strips)
                for (const Wanted* want : strip.rooms)
                    if (want->stair && !strip.corridor)
                        strip.fixedDepth = stair.stripDepth;
    };

    Placed best;
    StairPlace bestStair = stair;
    std::mt19937 random(1);
    for (int variant = 0; !corridors.empty() && variant < 48; ++variant) {
        std::mt19937* shuffle = variant == 0 ? nullptr : &random;
        std::vector<Strip> strips;
        for (const Wanted* c : corridors) {
            Strip south, corridor, north;
            south.anchorNorth = true;
            corridor.corridor = true;
            corridor.rooms.push_back(c);
            strips.push_back(south);
            strips.push_back(corridor);
            strips.push_back(north);
        }
        std::vector<Strip*> rows;
        for (Strip& strip : strips)
            if (!strip.corridor)
                rows.push_back(&strip);
        for (std::size_t k = 0; k < corridors.size(); ++k) {
            std::vector<Strip*> pair{rows[2 * k], rows[2 * k + 1]};
            distribute(served[corridors[k]->index], pair, doorPartners(served[corridors[k]->index], doors),
                       true, true, shuffle);
        }
        distribute(others, rows, doorPartners(others, doors), false, false, shuffle);
        strips.erase(std::remove_if(strips.begin(), strips.end(),
                                    [](const Strip& s) { return !s.corridor && s.rooms.empty(); }),
                     strips.end());
        finish(strips);
        StairPlace tried = stair;
        Placed placed = placeStrips(strips, box, t, fill, tried);
        if (placed.ok && (!best.ok || placed.penalty < best.penalty - eps)) {
            best = std::move(placed);
            bestStair = tried;
        }
        if (best.ok && best.penalty < eps)
            break;
    }
    if (corridors.empty()) {
        const std::size_t most = std::min<std::size_t>(std::max<std::size_t>(others.size(), 1), 8);
        for (std::size_t count = 1; count <= most; ++count) {
            std::vector<Strip> strips(count);
            std::vector<Strip*> rows;
            for (Strip& strip : strips)
                rows.push_back(&strip);
            distribute(others, rows, doorPartners(others, doors), true, true);
            strips.erase(std::remove_if(strips.begin(), strips.end(), [](const Strip& s) { return s.rooms.empty(); }),
                         strips.end());
            if (!strips.empty())
                strips.back().anchorNorth = strips.size() > 1;
            finish(strips);
            StairPlace tried = stair;
            Placed placed = placeStrips(strips, box, t, fill, tried);
            if (placed.ok && (!best.ok || placed.penalty < best.penalty - eps)) {
                best = std::move(placed);
                bestStair = tried;
            }
        }
    }
    if (!best.ok)
        return {};
    stair = bestStair;
    return best.rooms;
}

bool holds(double value) { return value >= -eps; }

// Whether the point lies inside the closed polygon (a ray along x crosses
// its edges an odd number of times).
bool insidePolygon(const std::vector<Vec2>& points, double px, double py)
{
    bool inside = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Vec2& a = points[i];
        const Vec2& b = points[j];
        if ((a.y > py) != (b.y > py) && px < a.x + (py - a.y) * (b.x - a.x) / (b.y - a.y))
            inside = !inside;
    }
    return inside;
}

// The largest rectangle inside a floor that is not its box (an L, a notch),
// with its sides on the lines through the floor's corners: the rows go there
// when rooms may leave space free. An axis-parallel floor is a union of the
// cells those lines make, so a rectangle of cells whose centres are all
// inside lies inside. Zero extents when there is none.
BoundingBox largestInnerBox(const std::vector<Vec2>& points)
{
    std::vector<double> xs, ys;
    for (const Vec2& p : points) {
        xs.push_back(p.x);
        ys.push_back(p.y);
    }
    auto unique = [](std::vector<double>& v) {
        std::sort(v.begin(), v.end());
        v.erase(std::unique(v.begin(), v.end(), [](double a, double b) { return std::fabs(a - b) < eps; }), v.end());
    };
    unique(xs);
    unique(ys);
    const std::size_t nx = xs.size(), ny = ys.size();
    std::vector<std::vector<bool>> cell(nx, std::vector<bool>(ny, false));
    for (std::size_t i = 0; i + 1 < nx; ++i)
        for (std::size_t j = 0; j + 1 < ny; ++j)
            cell[i][j] = insidePolygon(points, 0.5 * (xs[i] + xs[i + 1]), 0.5 * (ys[j] + ys[j + 1]));
    BoundingBox best{};
    double bestArea = 0.0;
    for (std::size_t i0 = 0; i0 + 1 < nx; ++i0)
        for (std::size_t j0 = 0; j0 + 1 < ny; ++j0)
            for (std::size_t i1 = i0 + 1; i1 < nx; ++i1)
                for (std::size_t j1 = j0 + 1; j1 < ny; ++j1) {
                    bool inside = true;
                    for (std::size_t i = i0; i < i1 && inside; ++i)
                        for (std::size_t j = j0; j < j1 && inside; ++j)
                            inside = cell[i][j];
                    const double area = (xs[i1] - xs[i0]) * (ys[j1] - ys[j0]);
                    if (inside && area > bestArea + eps) {
                        bestArea = area;
                        best = {Vec2(xs[i0], ys[j0]), Vec2(xs[i1], ys[j1])};
                    }
                }
    return best;
}

} // namespace

std::vector<PackedRoom> packRooms(const std::vector<std::shared_ptr<bg::Requirement>>& requirements,
                                  const modelsupport::FloorData& floors, double t, bool fill)
{
    std::vector<Wanted> wanted;
    std::set<std::pair<int, int>> doors;
    for (const std::shared_ptr<bg::Requirement>& requirement : requirements) {
        if (requirement->getLevel() == bg::anyFloor || !floors.boxes.count(requirement->getLevel()))
            return {};
        wanted.push_back(wantedOf(*requirement, t));
        for (const int j : requirement->connectedIndices()) {
            doors.insert({requirement->getIndex(), j});
            doors.insert({j, requirement->getIndex()});
        }
    }
    std::vector<PackedRoom> packed;
    StairPlace stair;
    for (const int level : floors.levels) {
        BoundingBox box = floors.box(level);
        const auto area = floors.areas.find(level);
        const double boxArea = (box.max.x - box.min.x) * (box.max.y - box.min.y);
        if (area == floors.areas.end())
            return {};
        // A floor that does not fill its box has parts of the box the rows
        // must keep clear of: they take the floor's largest rectangle where
        // space may stay free, and nothing where the floor must be filled.
        if (std::fabs(area->second - boxArea) > 1e-6 * boxArea) {
            const auto polygon = floors.polygons.find(level);
            if (fill || polygon == floors.polygons.end())
                return {};
            box = largestInnerBox(polygon->second.points);
            if (box.max.x - box.min.x < eps || box.max.y - box.min.y < eps)
                return {};
        }
        std::vector<const Wanted*> onLevel;
        for (const Wanted& want : wanted)
            if (want.level == level)
                onLevel.push_back(&want);
        if (onLevel.empty())
            continue;
        const std::vector<PackedRoom> rooms = packLevel(onLevel, doors, box, t, fill, stair);
        if (rooms.empty())
            return {};
        packed.insert(packed.end(), rooms.begin(), rooms.end());
    }
    if (packed.size() != requirements.size())
        return {};
    std::sort(packed.begin(), packed.end(), [](const PackedRoom& a, const PackedRoom& b) { return a.index < b.index; });
    return packed;
}

std::unordered_map<std::string, double> modelValues(const std::vector<std::shared_ptr<bg::Requirement>>& requirements,
                                                    const std::vector<PackedRoom>& rooms,
                                                    const std::vector<ObstacleBox>& obstacles, double t,
                                                    double doorWidth)
{
    using namespace modelnames;
    std::unordered_map<std::string, double> values;
    if (rooms.size() != requirements.size())
        return values;
    double quadratic = 0.0;
    for (const PackedRoom& r : rooms) {
        values[roomVarName("x", r.index)] = r.x;
        values[roomVarName("y", r.index)] = r.y;
        values[roomVarName("l", r.index)] = r.l;
        values[roomVarName("w", r.index)] = r.w;
        values[roomVarName("z", r.index)] = (r.l - t) * (r.w - t);
        quadratic += r.l * r.l + r.w * r.w - r.l * r.w;
    }
    values["Constant"] = 1.0;
    values["Quadobj"] = quadratic;
    const int n = static_cast<int>(rooms.size());
    for (int i = 0; i + 1 < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (requirements[i]->getLevel() != requirements[j]->getLevel())
                continue;
            const PackedRoom& a = rooms[i];
            const PackedRoom& b = rooms[j];
            values[overlapVarName(i, j, sideLeft)] = holds(a.x - b.x - b.l) ? 1.0 : 0.0;
            values[overlapVarName(i, j, sideRight)] = holds(b.x - a.x - a.l) ? 1.0 : 0.0;
            values[overlapVarName(i, j, sideBottom)] = holds(a.y - b.y - b.w) ? 1.0 : 0.0;
            values[overlapVarName(i, j, sideTop)] = holds(b.y - a.y - a.w) ? 1.0 : 0.0;
        }
    }
    for (const PackedRoom& r : rooms) {
        const int level = requirements[r.index]->getLevel();
        for (std::size_t k = 0; k < obstacles.size(); ++k) {
            const ObstacleBox& o = obstacles[k];
            if (o.level != level)
                continue;
            const int id = static_cast<int>(k);
            values[obstacleVarName(r.index, id, sideLeft)] = holds(r.x - o.x - o.width) ? 1.0 : 0.0;
            values[obstacleVarName(r.index, id, sideRight)] = holds(o.x - r.x - r.l) ? 1.0 : 0.0;
            values[obstacleVarName(r.index, id, sideBottom)] = holds(r.y - o.y - o.height) ? 1.0 : 0.0;
            values[obstacleVarName(r.index, id, sideTop)] = holds(o.y - r.y - r.w) ? 1.0 : 0.0;
        }
    }
    // A door binary at 1: one room north of the other, sharing a wall of at
    // least the door width and a wall thickness along x.
    const double D = doorWidth + t;
    for (const std::shared_ptr<bg::Requirement>& requirement : requirements) {
        const int i = requirement->getIndex();
        for (const int j : requirement->connectedIndices()) {
            if (j < 0 || j >= n)
                continue;
            const PackedRoom& a = rooms[i];
            const PackedRoom& b = rooms[j];
            const bool northSouth = holds(b.x + b.l - a.x - D) && holds(a.x + a.l - b.x - D) &&
                                    holds(b.y + b.w - a.y + t) && holds(a.y + a.w - b.y + t);
            values[doorVarName(i, j)] = northSouth ? 1.0 : 0.0;
        }
    }
    return values;
}

std::vector<PackedRoom> roomsOf(const std::vector<std::shared_ptr<bg::Requirement>>& requirements,
                                const std::unordered_map<std::string, double>& values)
{
    using modelnames::roomVarName;
    std::vector<PackedRoom> rooms;
    for (const std::shared_ptr<bg::Requirement>& requirement : requirements) {
        const int id = requirement->getIndex();
        PackedRoom room{id};
        double* fields[] = {&room.x, &room.y, &room.l, &room.w};
        const char* prefixes[] = {"x", "y", "l", "w"};
        for (int k = 0; k < 4; ++k) {
            const auto found = values.find(roomVarName(prefixes[k], id));
            if (found == values.end())
                return {};
            *fields[k] = found->second;
        }
        rooms.push_back(room);
    }
    return rooms;
}

std::unordered_map<SCIP_VAR*, double> completeValues(SCIP* scip, const modelsupport::Registry& variables,
                                                     const std::unordered_map<std::string, double>& values)
{
    std::unordered_map<SCIP_VAR*, double> known;
    if (scip == nullptr || SCIPgetStage(scip) != SCIP_STAGE_PROBLEM)
        return {};
    for (const auto& [name, var] : variables) {
        const auto found = values.find(name);
        if (found != values.end())
            known[var] = found->second;
    }
    // The rest must be binaries that the rows decide.
    std::unordered_set<SCIP_VAR*> open;
    SCIP_VAR** all = SCIPgetOrigVars(scip);
    for (int k = 0; k < SCIPgetNOrigVars(scip); ++k) {
        if (known.count(all[k]) != 0)
            continue;
        if (SCIPvarGetType(all[k]) != SCIP_VARTYPE_BINARY)
            return {};
        open.insert(all[k]);
    }
    // A binary at 1 in a row whose other variables are known: the row must
    // still hold. Rows with more than one open binary (a facade's "at least
    // one of these walls") decide nothing; the whole solution's check sees
    // to them.
    std::unordered_set<SCIP_VAR*> ruledOut;
    SCIP_CONSHDLR* linear = SCIPfindConshdlr(scip, "linear");
    SCIP_CONS** conss = SCIPgetConss(scip);
    for (int c = 0; c < SCIPgetNConss(scip) && !open.empty(); ++c) {
        SCIP_CONS* cons = conss[c];
        if (SCIPconsGetHdlr(cons) != linear)
            continue;
        SCIP_VAR** vars = SCIPgetVarsLinear(scip, cons);
        SCIP_Real* coefs = SCIPgetValsLinear(scip, cons);
        SCIP_VAR* single = nullptr;
        int openCount = 0;
        double activity = 0.0;
        for (int k = 0; k < SCIPgetNVarsLinear(scip, cons); ++k) {
            if (open.count(vars[k]) != 0) {
                single = vars[k];
                ++openCount;
                activity += coefs[k];
            } else {
                activity += coefs[k] * known.at(vars[k]);
            }
        }
        if (openCount != 1)
            continue;
        if (SCIPisFeasLT(scip, activity, SCIPgetLhsLinear(scip, cons)) ||
            SCIPisFeasGT(scip, activity, SCIPgetRhsLinear(scip, cons)))
            ruledOut.insert(single);
    }
    for (SCIP_VAR* var : open)
        known[var] = ruledOut.count(var) != 0 ? 0.0 : 1.0;
    return known;
}

SCIP_RETCODE offerCompleteSolution(SCIP* scip, const modelsupport::Registry& variables,
                                   const std::unordered_map<std::string, double>& values, bool& accepted)
{
    accepted = false;
    if (scip == nullptr || SCIPgetStage(scip) != SCIP_STAGE_PROBLEM || values.empty())
        return SCIP_OKAY;
    const std::unordered_map<SCIP_VAR*, double> complete = completeValues(scip, variables, values);
    if (complete.empty())
        return SCIP_OKAY;
    SCIP_SOL* sol = nullptr;
    SCIP_CALL(createSolutionWith(scip, nullptr, complete, &sol));
    SCIP_Bool feasible = FALSE;
    const SCIP_RETCODE checked = SCIPcheckSolOrig(scip, sol, &feasible, FALSE, FALSE);
    if (checked != SCIP_OKAY || !feasible) {
        SCIP_CALL(SCIPfreeSol(scip, &sol));
        return checked;
    }
    SCIP_CALL(SCIPfreeSol(scip, &sol));
    SCIP_CALL(holdWholeStart(scip, complete, variables));
    accepted = true;
    return SCIP_OKAY;
}

SCIP_RETCODE offerPartialSolution(SCIP* scip, const modelsupport::Registry& variables,
                                  const std::unordered_map<std::string, double>& values)
{
    if (scip == nullptr || SCIPgetStage(scip) != SCIP_STAGE_PROBLEM || values.empty())
        return SCIP_OKAY;
    SCIP_SOL* sol = nullptr;
    SCIP_CALL(SCIPcreatePartialSol(scip, &sol, nullptr));
    for (const auto& [name, value] : values) {
        const auto found = variables.find(name);
        if (found != variables.end())
            SCIP_CALL(SCIPsetSolVal(scip, sol, found->second, value));
    }
    SCIP_Bool stored = FALSE;
    SCIP_CALL(SCIPaddSolFree(scip, &sol, &stored));
    return SCIP_OKAY;
}

} // namespace startlayout
