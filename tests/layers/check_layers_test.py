#!/usr/bin/env python3
"""The layering check on small trees: each row a tree of a few files and the
problems the check must name (none for a tree that keeps the rules)."""

import importlib.util
import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(HERE, "..", "..", "scripts", "check_layers.py")
loader_spec = importlib.util.spec_from_file_location("check_layers", SCRIPT)
check_layers = importlib.util.module_from_spec(loader_spec)
loader_spec.loader.exec_module(check_layers)

BASE = {
    "geometry/Polygon.h": "",
    "sitemap/SiteMapMath.h": "#include <string>\n",
    "src/shell/Events.h": "",
    "src/site/SitePane.cpp": '#include "shell/Events.h"\n#include "sitemap/SiteMapMath.h"\n',
    "src/proposal/ProposalPane.h": '#include "geometry/Polygon.h"\n',
    "src/requirements/DiagramCtrl.h": "",
}

ROWS = [
    ("a tree that keeps the rules", {}, []),
    ("wx below the window", {"sitemap/Tiles.h": "#include <wx/image.h>\n"},
     ["sitemap includes the wxWidgets header"]),
    ("a lower layer using the window", {"geometry/Bad.cpp": '#include "src/shell/Events.h"\n'},
     ["geometry includes src/shell/Events.h of src"]),
    ("a map service using the model", {"sitemap/Bad.cpp": '#include "model/Building.h"\n',
                                       "model/Building.h": ""},
     ["sitemap includes model/Building.h of model"]),
    ("a workspace using another one", {"src/site/Bad.cpp": '#include "proposal/ProposalPane.h"\n'},
     ["src/site includes proposal/ProposalPane.h of src/proposal"]),
    ("the proposal showing the room diagram",
     {"src/proposal/Plan.cpp": '#include "requirements/DiagramCtrl.h"\n'}, []),
    ("a window file outside every workspace", {"src/Stray.cpp": '#include "shell/Events.h"\n'},
     ["belong in a workspace folder"]),
    ("an unknown folder with sources", {"extras/X.cpp": ""}, ["not in the layer table"]),
]


class CheckLayersTest(unittest.TestCase):
    def test_rows(self):
        for name, extra, expected in ROWS:
            with self.subTest(name), tempfile.TemporaryDirectory() as root:
                for path, text in {**BASE, **extra}.items():
                    full = os.path.join(root, path)
                    os.makedirs(os.path.dirname(full), exist_ok=True)
                    with open(full, "w") as out:
                        out.write(text)
                problems = check_layers.check(root)
                self.assertEqual(len(problems), len(expected), problems)
                for problem, words in zip(problems, expected):
                    self.assertIn(words, problem)


if __name__ == "__main__":
    sys.exit(unittest.main())
