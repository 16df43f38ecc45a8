#include "diagram/Arrangement.h"

#include <gvc.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

// The two plugins are linked in and handed to the context, so no plugin
// configuration file (written only by Graphviz's command-line tools) is
// needed at run time.
extern "C" {
extern gvplugin_library_t gvplugin_neato_layout_LTX_library;
extern gvplugin_library_t gvplugin_core_LTX_library;
}

namespace diagram {
namespace {

const lt_symlist_t preloadedPlugins[] = {
    {"gvplugin_neato_layout_LTX_library", &gvplugin_neato_layout_LTX_library},
    {"gvplugin_core_LTX_library", &gvplugin_core_LTX_library},
    {nullptr, nullptr},
};

constexpr double pointsPerInch = 72.0;

struct ContextCloser {
    void operator()(GVC_t* context) const { gvFreeContext(context); }
};

struct GraphCloser {
    void operator()(Agraph_t* graph) const { agclose(graph); }
};

std::string inches(double points)
{
    return std::to_string(points / pointsPerInch);
}

// Graphviz takes attribute names and values as char*, though it never writes them.
char* text(const char* value)
{
    return const_cast<char*>(value);
}

} // namespace

std::vector<Point> arrangeBoxes(const std::vector<Size>& boxes,
                                const std::vector<std::pair<std::size_t, std::size_t>>& links,
                                double aspect)
{
    if (boxes.empty())
        return {};

    std::unique_ptr<GVC_t, ContextCloser> context(gvContextPlugins(preloadedPlugins, 0));
    if (!context)
        throw std::runtime_error("Graphviz: cannot create a layout context");
    std::unique_ptr<Agraph_t, GraphCloser> graph(agopen(text("diagram"), Agundirected, nullptr));
    if (!graph)
        throw std::runtime_error("Graphviz: cannot create a graph");

    agattr_text(graph.get(), AGRAPH, text("overlap"), text("false"));
    // Overlaps are removed by moving boxes apart, without first blowing the
    // whole arrangement up by a multiple of the box size.
    agattr_text(graph.get(), AGRAPH, text("overlap_scaling"), text("0"));
    if (aspect > 0.0 && std::isfinite(aspect))
        agattr_text(graph.get(), AGRAPH, text("ratio"), std::to_string(aspect).c_str());
    // A fixed seed: the same graph is always arranged the same way.
    agattr_text(graph.get(), AGRAPH, text("start"), text("7"));
    // Room between boxes for the lines to show.
    agattr_text(graph.get(), AGRAPH, text("sep"), text("+12"));
    // Lines a little longer than Graphviz's inch, so that they show between boxes.
    agattr_text(graph.get(), AGEDGE, text("len"), text("1.3"));
    agattr_text(graph.get(), AGNODE, text("shape"), text("box"));
    agattr_text(graph.get(), AGNODE, text("fixedsize"), text("true"));
    agattr_text(graph.get(), AGNODE, text("label"), text(""));
    Agsym_t* width = agattr_text(graph.get(), AGNODE, text("width"), text("0.5"));
    Agsym_t* height = agattr_text(graph.get(), AGNODE, text("height"), text("0.5"));

    std::vector<Agnode_t*> nodes;
    nodes.reserve(boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        Agnode_t* node = agnode(graph.get(), text(std::to_string(i).c_str()), 1);
        agxset(node, width, inches(boxes[i].width).c_str());
        agxset(node, height, inches(boxes[i].height).c_str());
        nodes.push_back(node);
    }
    for (const auto& [from, to] : links)
        if (from < nodes.size() && to < nodes.size() && from != to)
            agedge(graph.get(), nodes[from], nodes[to], nullptr, 1);

    if (gvLayout(context.get(), graph.get(), "neato") != 0)
        throw std::runtime_error("Graphviz: the spring arrangement failed");
    std::vector<Point> centres;
    centres.reserve(nodes.size());
    for (Agnode_t* node : nodes)
        // Graphviz's y grows upward; the view's grows downward.
        centres.push_back({ND_coord(node).x, -ND_coord(node).y});
    gvFreeLayout(context.get(), graph.get());
    return centres;
}

} // namespace diagram
