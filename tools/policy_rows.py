"""What the policy templates are made from and checked against: the
settings' rows in settings/Catalogue.cpp, the policy key in
settings/Policy.h and the dialog's texts in resources/lang/*.rc."""
import re
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# Language of the .rc file -> the culture folder of its .adml.
LANGUAGES = {
    "English": "en-US", "Espanol": "es-ES", "Francais": "fr-FR", "Nederland": "nl-NL",
    "Deutsch": "de-DE", "Italiano": "it-IT", "Polski": "pl-PL",
}


def settings_rows():
    """[(key, kind, text id, help id)] in the catalogue's order."""
    text = (ROOT / "settings/Catalogue.cpp").read_text(encoding="utf-8")
    rows = re.findall(r'\{L"([^"]+)", k(?:Driver|JobLog), &V::\w+, \d+, ([\w:]+), \w+, (IDS_\w+), (IDS_\w+|0)\}', text)
    kinds = {"kFlag": "flag", "kInverted": "inverted", "ValueKind::RetailBits": "retail"}
    return [(key, kinds[kind], text_id, help_id if help_id != "0" else None) for key, kind, text_id, help_id in rows]


def retail_options():
    """[(bit, text id)] in the dialog's order."""
    text = (ROOT / "settings/Catalogue.cpp").read_text(encoding="utf-8")
    header = (ROOT / "settings/Catalogue.h").read_text(encoding="utf-8")
    bits = dict(re.findall(r"constexpr uint32_t (kRetail\w+) = (\d+);", header))
    return [(int(bits[name]), text_id) for name, text_id in re.findall(r"\{(kRetail\w+), (IDS_\w+)\}", text)]


def policy_key():
    text = (ROOT / "settings/Policy.h").read_text(encoding="utf-8")
    return re.search(r'kPolicyKey\[\] = L"(.*)";', text).group(1).replace("\\\\", "\\")


def strings(language):
    """The texts of one language by id name; English fills what it lacks."""
    def read(name):
        found = {}
        for line in (ROOT / f"resources/lang/{name}.rc").read_text(encoding="utf-8").splitlines():
            m = re.match(r'\s*(?:IDS_BASE_\w+ \+ )?(IDS_\w+)(?: - IDS_UPPER_SHIFT)?\s+"(.*)"\s*$', line)
            if m:
                found[m.group(1)] = m.group(2).replace('""', '"').strip()
        return found
    texts = read("English")
    texts.update(read(language))
    return texts
