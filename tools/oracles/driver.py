"""What the oracle scripts share: running an ecosystem's own tool over lines
of text, and writing the tables the tests read.

Each table is tab-separated text, one case a line, under
tests/data/schemes/<scheme>/:

  order.tsv    RANK<TAB>VERSION, in the oracle's order; equal versions share
               a rank, so every pair's answer follows from the two ranks
  invalid.tsv  VERSION, a text the ecosystem refuses
  ranges.tsv   RANGE<TAB>VERSION<TAB>0|1, whether the oracle holds the
               version inside the range

No text holds a tab or a line break. The scripts seed their generators, so
running one again writes the same tables."""

import pathlib
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]


def ask(command, lines, env=None):
    """Runs the oracle with one case a line on its input; one answer a line back."""
    data = "".join(line + "\n" for line in lines)
    result = subprocess.run(command, input=data, capture_output=True, text=True, env=env)
    if result.returncode != 0:
        sys.exit(f"{command[0]} failed:\n{result.stderr}")
    answers = result.stdout.split("\n")[:-1]
    if len(answers) != len(lines):
        sys.exit(f"{command[0]}: {len(answers)} answers to {len(lines)} cases")
    return answers


def unique(texts):
    """The texts in first-seen order, each once, none holding a tab or line break."""
    seen = dict.fromkeys(t for t in texts if not any(c in t for c in "\t\r\n"))
    return list(seen)


def write(scheme, name, rows):
    path = ROOT / "tests" / "data" / "schemes" / scheme / name
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text("".join("\t".join(map(str, row)) + "\n" for row in rows))
    print(f"{path.relative_to(ROOT)}: {len(rows)} rows")
