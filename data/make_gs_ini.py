#!/usr/bin/env python3
"""Writes the starting preset formula file gs.ini: ten formulas for each plan kind.

Each value lists the GBK bytes of its formula as decimal numbers, the way the
program reads and writes that file. GBK with CR LF, like every INI file of ours.
"""
import sys

PRESETS = {
    1: ["DCC*657", "CED-762", "CEE+741", "DDE*241", "BEB+065",
        "AAD*868", "EEA+354", "EDA-673", "ECC-733", "ABD*519"],
    2: ["EDC*318", "BCE+426", "DEA*795", "CAB-583", "EEB*162",
        "ADC+947", "BBD*231", "DCE-604", "AEC*875", "CDD+369"],
    3: ["ECD*274", "ABE-658", "DBC*913", "CEA+147", "EAD*586",
        "BDB-302", "CCE*761", "DAE+839", "BEC*425", "ADE-917"],
}


def encode(formula):
    return ",".join(str(b) for b in formula.encode("gbk"))


def main():
    lines = []
    for kind, formulas in PRESETS.items():
        lines.append(f"[{kind}]")
        for key, formula in enumerate(formulas, start=1):
            lines.append(f"{key}={encode(formula)}")
    with open(sys.argv[1], "wb") as out:
        out.write(("\r\n".join(lines) + "\r\n").encode("gbk"))


if __name__ == "__main__":
    main()
