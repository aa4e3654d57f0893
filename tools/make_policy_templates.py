#!/usr/bin/env python3
"""Writes installer/policy/OxaAdvanced.admx and one OxaAdvanced.adml per
language from the settings' rows and the dialog's own texts. Run it again
after a setting or a text changes; the build checks what it wrote
(tools/check_policy_templates.py)."""
from xml.sax.saxutils import escape, quoteattr

from policy_rows import LANGUAGES, ROOT, policy_key, retail_options, settings_rows, strings

NAMESPACE = "OXA.Policies.AdvancedEngraverSettings"
SCHEMA = "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"
OUT = ROOT / "installer/policy"

# The texts the dialog has no string for, per language.
SUPPORTED = {
    "en-US": "At least Windows XP", "es-ES": "Windows XP o posterior",
    "fr-FR": "Windows XP ou version ultérieure", "nl-NL": "Windows XP of hoger",
    "de-DE": "Windows XP oder höher", "it-IT": "Windows XP o versioni successive",
    "pl-PL": "Windows XP lub nowszy",
}
HELD = {
    "en-US": "Enabled or disabled, this policy holds the setting: the settings dialog shows it greyed at the "
             "policy's value and stores that value. Not configured leaves the setting to the user.",
    "es-ES": "Habilitada o deshabilitada, esta directiva fija la opción: el cuadro de diálogo de configuración "
             "la muestra atenuada con el valor de la directiva y guarda ese valor. Sin configurar, la opción "
             "queda a elección del usuario.",
    "fr-FR": "Activée ou désactivée, cette stratégie impose le paramètre\u00a0: la boîte de dialogue des "
             "paramètres l'affiche grisé à la valeur de la stratégie et enregistre cette valeur. Non configurée, "
             "elle laisse le paramètre à l'utilisateur.",
    "nl-NL": "Ingeschakeld of uitgeschakeld legt dit beleid de instelling vast: het instellingenvenster toont "
             "haar grijs met de waarde van het beleid en slaat die waarde op. Niet geconfigureerd laat de "
             "instelling aan de gebruiker.",
    "de-DE": "Aktiviert oder deaktiviert legt diese Richtlinie die Einstellung fest: Das Einstellungsdialogfeld "
             "zeigt sie abgeblendet mit dem Wert der Richtlinie an und speichert diesen Wert. Nicht konfiguriert "
             "bleibt die Einstellung dem Benutzer überlassen.",
    "it-IT": "Abilitato o disabilitato, questo criterio blocca l'impostazione: la finestra delle impostazioni la "
             "mostra in grigio con il valore del criterio e salva tale valore. Se non è configurato, "
             "l'impostazione resta all'utente.",
    "pl-PL": "Gdy te zasady są włączone lub wyłączone, ustawienie jest zablokowane: okno ustawień pokazuje je "
             "jako wyszarzone z wartością z zasad i zapisuje tę wartość. Nieskonfigurowane pozostawiają "
             "ustawienie użytkownikowi.",
}


def name_of(key):
    return key.replace("+", "Plus")


def retail_items():
    """Every non-empty set of retail options: (value, [text ids])."""
    options = retail_options()
    return [(value, [text for bit, text in options if value & bit]) for value in range(1, 16)]


def admx():
    key = policy_key()
    lines = [
        '<?xml version="1.0" encoding="utf-8"?>',
        "<!-- Made by tools/make_policy_templates.py from the settings' rows and the dialog's texts. -->",
        f'<policyDefinitions revision="1.0" schemaVersion="1.0" xmlns="{SCHEMA}">',
        "  <policyNamespaces>",
        f'    <target prefix="oxaadvanced" namespace="{NAMESPACE}"/>',
        "  </policyNamespaces>",
        '  <resources minRequiredRevision="1.0"/>',
        "  <supportedOn>",
        "    <definitions>",
        '      <definition name="SUPPORTED_WindowsXP" displayName="$(string.SUPPORTED_WindowsXP)"/>',
        "    </definitions>",
        "  </supportedOn>",
        "  <categories>",
        '    <category name="OxaAdvanced" displayName="$(string.OxaAdvanced)"/>',
        "  </categories>",
        "  <policies>",
    ]
    for setting, kind, _, _ in settings_rows():
        name = name_of(setting)
        presentation = ' presentation="$(presentation.RetailMode)"' if kind == "retail" else ""
        lines += [
            f'    <policy name="{name}" class="Machine" displayName="$(string.{name})" '
            f'explainText="$(string.{name}_Explain)"{presentation} key={quoteattr(key)} valueName={quoteattr(setting)}>',
            '      <parentCategory ref="OxaAdvanced"/>',
            '      <supportedOn ref="SUPPORTED_WindowsXP"/>',
        ]
        if kind == "retail":
            lines += ['      <disabledValue><decimal value="0"/></disabledValue>', "      <elements>",
                      f'        <enum id="RetailOptions" valueName={quoteattr(setting)} required="true">']
            for value, _ in retail_items():
                lines.append(f'          <item displayName="$(string.Retail_{value})"><value><decimal value="{value}"/></value></item>')
            lines += ["        </enum>", "      </elements>"]
        else:
            on, off = ("0", "1") if kind == "inverted" else ("1", "0")
            lines += [f'      <enabledValue><decimal value="{on}"/></enabledValue>',
                      f'      <disabledValue><decimal value="{off}"/></disabledValue>']
        lines.append("    </policy>")
    lines += ["  </policies>", "</policyDefinitions>", ""]
    return "\n".join(lines)


def adml(language, culture):
    texts = strings(language)
    entries = [("OxaAdvanced", texts["IDS_TITLE"]), ("SUPPORTED_WindowsXP", SUPPORTED[culture])]
    for setting, _, text_id, help_id in settings_rows():
        name = name_of(setting)
        explain = (texts[help_id] + "\n\n" if help_id else "") + HELD[culture]
        entries += [(name, texts[text_id]), (name + "_Explain", explain)]
    for value, ids in retail_items():
        entries.append((f"Retail_{value}", ", ".join(texts[i] for i in ids)))
    lines = [
        '<?xml version="1.0" encoding="utf-8"?>',
        "<!-- Made by tools/make_policy_templates.py from the settings' rows and the dialog's texts. -->",
        f'<policyDefinitionResources revision="1.0" schemaVersion="1.0" xmlns="{SCHEMA}">',
        f"  <displayName>{escape(texts['IDS_TITLE'])}</displayName>",
        f"  <description>{escape(texts['IDS_TITLE'])}</description>",
        "  <resources>",
        "    <stringTable>",
    ]
    lines += [f'      <string id="{sid}">{escape(text)}</string>' for sid, text in entries]
    lines += [
        "    </stringTable>",
        "    <presentationTable>",
        '      <presentation id="RetailMode">',
        f'        <dropdownList refId="RetailOptions" noSort="true" defaultItem="14">{escape(texts["IDS_RETAIL_MODE"])}</dropdownList>',
        "      </presentation>",
        "    </presentationTable>",
        "  </resources>",
        "</policyDefinitionResources>",
        "",
    ]
    return "\n".join(lines)


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    (OUT / "OxaAdvanced.admx").write_text(admx(), encoding="utf-8", newline="\r\n")
    for language, culture in LANGUAGES.items():
        (OUT / culture).mkdir(exist_ok=True)
        (OUT / culture / "OxaAdvanced.adml").write_text(adml(language, culture), encoding="utf-8", newline="\r\n")


if __name__ == "__main__":
    main()
