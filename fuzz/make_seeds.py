#!/usr/bin/env python3
"""Seed corpora for the harnesses of fuzz/, made from the default data, the
generated part catalogue, the dialog layouts and the hand-off files the
generators write (through tavelin-cli), so nothing large is kept in git.

    make_seeds.py --source SOURCE_TREE --build BUILD_DIR --out CORPUS_DIR

A harness whose input starts with choice bytes gets each seed once per
choice that fits it. Files found by the fuzzers and mended stay as
regression inputs in fuzz/regressions/<harness>/ and are seeds as well.
"""
import argparse
import re
import shutil
import subprocess
import tempfile
from pathlib import Path


def created_dialogs(source):
    """(class name, settings stem) of every dialog the program builds, in table order."""
    text = (source / "app" / "dialog_registry.cpp").read_text(encoding="utf-8")
    return re.findall(r'\{"(\w+)", "(\w*)", "[^"]*", &Make<', text)


def every(files, count):
    """At most `count` of `files`, spread evenly."""
    files = sorted(files)
    if len(files) <= count:
        return files
    step = len(files) / count
    return [files[int(i * step)] for i in range(count)]


class Corpus:
    def __init__(self, out):
        self.out = out
        self.count = {}

    def add(self, harness, data):
        folder = self.out / harness
        folder.mkdir(parents=True, exist_ok=True)
        n = self.count.get(harness, 0)
        (folder / f"seed{n:04d}").write_bytes(data)
        self.count[harness] = n + 1


def handoff_seeds(build, dialogs):
    """DrawName line + DrawData.txt of every generator, as the builder reads them."""
    cli = build / "bin" / "tavelin-cli"
    seeds = []
    if not cli.exists():
        return seeds
    with tempfile.TemporaryDirectory() as root:
        subprocess.run([str(cli), "--root", root, "init"], check=True, capture_output=True)
        info = Path(root) / "info"
        for _, stem in dialogs:
            if not stem:
                continue
            run = subprocess.run([str(cli), "--root", root, "generate", stem], capture_output=True)
            if run.returncode != 0:
                continue
            name = (info / "DrawName.ini").read_bytes().split(b"\r\n")[0]
            seeds.append(name + b"\n" + (info / "DrawData.txt").read_bytes())
    return seeds


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", type=Path, required=True)
    parser.add_argument("--build", type=Path, required=True)
    parser.add_argument("--out", type=Path, required=True)
    args = parser.parse_args()
    source, build, out = args.source, args.build, args.out
    if out.exists():
        shutil.rmtree(out)
    corpus = Corpus(out)
    data = source / "data" / "info"
    catalogue = build / "catalogue"
    dialogs = created_dialogs(source)
    generators = [stem for _, stem in dialogs if stem]

    # Settings files: each generator's own file under its choice byte, and
    # every other settings file under each choice for the conversions.
    for path in sorted(data.glob("*.ini")):
        stem = path.stem
        choices = [generators.index(stem)] if stem in generators else range(len(generators))
        for choice in choices:
            corpus.add("fuzz_settings", bytes([choice]) + path.read_bytes())

    # Schematics: the generators' and some of the part sheets.
    sheets = every((catalogue / "info").glob("*.tec"), 30) if catalogue.exists() else []
    for path in sorted(data.glob("*.tec")) + sheets:
        corpus.add("fuzz_schematic", path.read_bytes())

    # Part files and sheets, under a few base points, turns and mirrors.
    parts = every(catalogue.glob("*/*.ajc"), 60) if catalogue.exists() else []
    for i, path in enumerate(parts + sheets[:10]):
        corpus.add("fuzz_part", bytes([(i * 37) % 256]) + path.read_bytes())

    # The part menu's catalogue files, each under a few walks.
    menu_files = ["SheetName.ini", "BuzaiName.ini", "TugiteName.ini", "TugiteSet.ini",
                  "Gaikei_Koukan.ini"]
    for choice, name in enumerate(menu_files):
        for folder in (catalogue / "info", data):
            path = folder / name
            if path.exists():
                for walk in (0, 33, 70, 129, 200):
                    corpus.add("fuzz_catalogue", bytes([choice, walk]) + path.read_bytes())
                break

    # Action strings: for every dialog, its controls from its layout.
    for choice, (class_name, _) in enumerate(dialogs):
        layout = source / "resources" / "layouts" / (class_name.removesuffix("Dialog") + ".dlg")
        if class_name == "MainDialog":
            layout = layout.with_name("Main.dlg")
        if not layout.exists():
            continue
        ids = re.findall(r"^(\d+) (\S+)", layout.read_text(encoding="utf-8"), re.M)
        actions = []
        for control, kind in ids:
            if kind in ("edit", "combo-edit"):
                actions += [f"focus:{control}", f"set:{control}=450"]
            elif kind in ("combo", "list"):
                actions += [f"select:{control}=1", f"dblclick:{control}=0"]
            elif kind in ("button", "radio", "check"):
                actions.append(f"click:{control}")
        actions.append("point:120,90")
        for start in range(0, len(actions), 12):
            lines = actions[start:start + 12] + ["ok"]
            corpus.add("fuzz_actions", bytes([choice]) + "\n".join(lines).encode("cp932"))

    # Layouts.
    for path in sorted((source / "resources" / "layouts").glob("*.dlg")):
        corpus.add("fuzz_layout", path.read_bytes())

    # The block builder's hand-off files.
    for seed in handoff_seeds(build, dialogs):
        corpus.add("fuzz_blockbuilder", seed)

    # Findings mended so far.
    for folder in sorted((source / "fuzz" / "regressions").glob("fuzz_*")):
        for path in sorted(folder.iterdir()):
            corpus.add(folder.name, path.read_bytes())

    for harness, count in sorted(corpus.count.items()):
        print(f"{harness}: {count} seeds")


if __name__ == "__main__":
    main()
