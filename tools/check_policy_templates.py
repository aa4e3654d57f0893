#!/usr/bin/env python3
"""Checks the policy templates in installer/policy against the settings'
rows: well-formed XML; every policy under the program's policy key, named
by one setting's stored name, and every setting with a policy; every
string and presentation the template refers to present in every
language, with nothing left over. Prints each problem; exit 1 on any.
  check_policy_templates.py [FOLDER] [STAMP]"""
import re
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

from policy_rows import LANGUAGES, ROOT, policy_key, settings_rows

NS = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}


def refs(root, kind):
    found = set()
    for element in root.iter():
        for value in list(element.attrib.values()) + [element.text or ""]:
            found.update(re.findall(r"\$\(" + kind + r"\.([^)]+)\)", value))
    return found


def check(folder):
    problems = []
    try:
        admx = ET.parse(folder / "OxaAdvanced.admx").getroot()
    except (OSError, ET.ParseError) as error:
        return [f"OxaAdvanced.admx: {error}"]
    key = policy_key()
    stored = [row[0] for row in settings_rows()]
    named = []
    for policy in admx.iterfind(".//p:policy", NS):
        name = policy.get("name")
        if policy.get("key") != key:
            problems.append(f"policy {name}: key {policy.get('key')!r} is not {key!r}")
        for element in [policy] + list(policy.iterfind(".//p:elements/*", NS)):
            value = element.get("valueName")
            if value is not None and value not in stored:
                problems.append(f"policy {name}: value name {value!r} is no setting's stored name")
        named.append(policy.get("valueName"))
    for setting in stored:
        if named.count(setting) != 1:
            problems.append(f"setting {setting}: {named.count(setting)} policies name it, not one")
    strings, presentations = refs(admx, "string"), refs(admx, "presentation")
    element_ids = {e.get("id") for e in admx.iterfind(".//p:elements/*", NS)}
    for culture in LANGUAGES.values():
        path = folder / culture / "OxaAdvanced.adml"
        try:
            adml = ET.parse(path).getroot()
        except (OSError, ET.ParseError) as error:
            problems.append(f"{culture}: {error}")
            continue
        have = {s.get("id") for s in adml.iterfind(".//p:string", NS) if (s.text or "").strip()}
        shown = {p.get("id"): p for p in adml.iterfind(".//p:presentation", NS)}
        problems += [f"{culture}: string {s} is missing or empty" for s in sorted(strings - have)]
        problems += [f"{culture}: string {s} is not used" for s in sorted(have - strings)]
        problems += [f"{culture}: presentation {p} is missing" for p in sorted(presentations - set(shown))]
        for pid, presentation in shown.items():
            for control in presentation:
                if control.get("refId") not in element_ids:
                    problems.append(f"{culture}: presentation {pid} refers to no element {control.get('refId')!r}")
    return problems


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "installer/policy"
    problems = check(folder)
    for problem in problems:
        print(f"policy templates: {problem}")
    if problems:
        return 1
    if len(sys.argv) > 2:
        Path(sys.argv[2]).write_text("checked\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
