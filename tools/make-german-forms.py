#!/usr/bin/env python3
"""Writes data/morphology/german.forms: the German forms Hunspell's affix rules do not
derive. Strong and irregular verbs are given by their principal parts below and expanded
into every form that differs from the regular pattern; the function words are listed as
they are. Run it again after changing a table; it is the source of that file."""
import pathlib

# infinitive, 3rd person present (when its vowel changes, else ""), preterite, subjunctive
# II stem (else "" for none in use), past participle, imperative singular (when irregular)
STRONG = """
backen bäckt buk büke gebacken
befehlen befiehlt befahl beföhle befohlen befiehl
beginnen - begann begänne begonnen
beißen - biss bisse gebissen
bergen birgt barg bärge geborgen birg
bersten birst barst bärste geborsten
betrügen - betrog betröge betrogen
bewegen - bewog bewöge bewogen
biegen - bog böge gebogen
bieten - bot böte geboten
binden - band bände gebunden
bitten - bat bäte gebeten
blasen bläst blies bliese geblasen
bleiben - blieb bliebe geblieben
braten brät briet briete gebraten
brechen bricht brach bräche gebrochen brich
brennen - brannte brennte gebrannt
bringen - brachte brächte gebracht
denken - dachte dächte gedacht
dreschen drischt drosch drösche gedroschen drisch
dringen - drang dränge gedrungen
dürfen darf durfte dürfte gedurft
empfehlen empfiehlt empfahl empföhle empfohlen empfiehl
erlöschen erlischt erlosch erlösche erloschen
erschrecken erschrickt erschrak erschräke erschrocken erschrick
essen isst aß äße gegessen iss
fahren fährt fuhr führe gefahren
fallen fällt fiel fiele gefallen
fangen fängt fing finge gefangen
fechten ficht focht föchte gefochten
finden - fand fände gefunden
flechten flicht flocht flöchte geflochten
fliegen - flog flöge geflogen
fliehen - floh flöhe geflohen
fließen - floss flösse geflossen
fressen frisst fraß fräße gefressen friss
frieren - fror fröre gefroren
gären - gor göre gegoren
gebären gebiert gebar gebäre geboren
geben gibt gab gäbe gegeben gib
gedeihen - gedieh gediehe gediehen
gehen - ging ginge gegangen
gelingen - gelang gelänge gelungen
gelten gilt galt gälte gegolten gilt
genesen - genas genäse genesen
genießen - genoss genösse genossen
geschehen geschieht geschah geschähe geschehen
gewinnen - gewann gewänne gewonnen
gießen - goss gösse gegossen
gleichen - glich gliche geglichen
gleiten - glitt glitte geglitten
glimmen - glomm glömme geglommen
graben gräbt grub grübe gegraben
greifen - griff griffe gegriffen
haben hat hatte hätte gehabt
halten hält hielt hielte gehalten
hängen - hing hinge gehangen
hauen - hieb hiebe gehauen
heben - hob höbe gehoben
heißen - hieß hieße geheißen
helfen hilft half hülfe geholfen hilf
kennen - kannte kennte gekannt
klingen - klang klänge geklungen
kneifen - kniff kniffe gekniffen
kommen - kam käme gekommen
können kann konnte könnte gekonnt
kriechen - kroch kröche gekrochen
laden lädt lud lüde geladen
lassen lässt ließ ließe gelassen
laufen läuft lief liefe gelaufen
leiden - litt litte gelitten
leihen - lieh liehe geliehen
lesen liest las läse gelesen lies
liegen - lag läge gelegen
lügen - log löge gelogen
mahlen - mahlte mahlte gemahlen
meiden - mied miede gemieden
melken milkt molk mölke gemolken
messen misst maß mäße gemessen miss
misslingen - misslang misslänge misslungen
mögen mag mochte möchte gemocht
müssen muss musste müsste gemusst
nehmen nimmt nahm nähme genommen nimm
nennen - nannte nennte genannt
pfeifen - pfiff pfiffe gepfiffen
preisen - pries priese gepriesen
quellen quillt quoll quölle gequollen
raten rät riet riete geraten
reiben - rieb riebe gerieben
reißen - riss risse gerissen
reiten - ritt ritte geritten
rennen - rannte rennte gerannt
riechen - roch röche gerochen
ringen - rang ränge gerungen
rinnen - rann ränne geronnen
rufen - rief riefe gerufen
saufen säuft soff söffe gesoffen
saugen - sog söge gesogen
schaffen - schuf schüfe geschaffen
scheiden - schied schiede geschieden
scheinen - schien schiene geschienen
schelten schilt schalt schölte gescholten schilt
schieben - schob schöbe geschoben
schießen - schoss schösse geschossen
schlafen schläft schlief schliefe geschlafen
schlagen schlägt schlug schlüge geschlagen
schleichen - schlich schliche geschlichen
schleifen - schliff schliffe geschliffen
schließen - schloss schlösse geschlossen
schlingen - schlang schlänge geschlungen
schmeißen - schmiss schmisse geschmissen
schmelzen schmilzt schmolz schmölze geschmolzen schmilz
schneiden - schnitt schnitte geschnitten
schreiben - schrieb schriebe geschrieben
schreien - schrie schriee geschrien
schreiten - schritt schritte geschritten
schweigen - schwieg schwiege geschwiegen
schwellen schwillt schwoll schwölle geschwollen
schwimmen - schwamm schwömme geschwommen
schwinden - schwand schwände geschwunden
schwingen - schwang schwänge geschwungen
schwören - schwor schwüre geschworen
sehen sieht sah sähe gesehen sieh
sein ist war wäre gewesen sei
senden - sandte sendete gesandt
singen - sang sänge gesungen
sinken - sank sänke gesunken
sinnen - sann sänne gesonnen
sitzen - saß säße gesessen
sollen - sollte sollte gesollt
spinnen - spann spönne gesponnen
sprechen spricht sprach spräche gesprochen sprich
sprießen - spross sprösse gesprossen
springen - sprang spränge gesprungen
stechen sticht stach stäche gestochen stich
stehen - stand stünde gestanden
stehlen stiehlt stahl stähle gestohlen stiehl
steigen - stieg stiege gestiegen
sterben stirbt starb stürbe gestorben stirb
stinken - stank stänke gestunken
stoßen stößt stieß stieße gestoßen
streichen - strich striche gestrichen
streiten - stritt stritte gestritten
tragen trägt trug trüge getragen
treffen trifft traf träfe getroffen triff
treiben - trieb triebe getrieben
treten tritt trat träte getreten tritt
trinken - trank tränke getrunken
trügen - trog tröge getrogen
tun tut tat täte getan
verderben verdirbt verdarb verdürbe verdorben verdirb
verdrießen - verdross verdrösse verdrossen
vergessen vergisst vergaß vergäße vergessen vergiss
verlieren - verlor verlöre verloren
verschwinden - verschwand verschwände verschwunden
verzeihen - verzieh verziehe verziehen
wachsen wächst wuchs wüchse gewachsen
waschen wäscht wusch wüsche gewaschen
weben - wob wöbe gewoben
weichen - wich wiche gewichen
weisen - wies wiese gewiesen
wenden - wandte wendete gewandt
werben wirbt warb würbe geworben wirb
werden wird wurde würde geworden
werfen wirft warf würfe geworfen wirf
wiegen - wog wöge gewogen
winden - wand wände gewunden
wissen weiß wusste wüsste gewusst
wollen will wollte wollte gewollt
ziehen - zog zöge gezogen
zwingen - zwang zwänge gezwungen
"""

# Whole paradigms that no pattern gives, and the function words: form, then its base.
LISTED = [
    ("sein", "bin bist ist sind seid war warst waren wart wäre wärst wärest wären wäret sei seist seiest seien seiet gewesen"),
    ("haben", "habe hab hast hat habt hatte hattest hatten hattet hätte hättest hätten hättet gehabt"),
    ("werden", "werde wirst wird werdet wurde wurdest wurden wurdet ward würde würdest würden würdet geworden worden"),
    ("können", "kann kannst könnt konnte konntest konnten konntet könnte könntest könnten könntet gekonnt"),
    ("müssen", "muss musst müsst musste musstest mussten musstet müsste müsstest müssten müsstet gemusst"),
    ("dürfen", "darf darfst dürft durfte durftest durften durftet dürfte dürftest dürften dürftet gedurft"),
    ("sollen", "soll sollst sollt sollte solltest sollten solltet gesollt"),
    ("wollen", "will willst wollt wollte wolltest wollten wolltet gewollt"),
    ("mögen", "mag magst mögt mochte mochtest mochten mochtet möchte möchtest möchten möchtet gemocht"),
    ("wissen", "weiß weißt wisst wusste wusstest wussten wusstet wüsste wüsstest wüssten wüsstet gewusst"),
    ("tun", "tue tu tust tut tat tatest taten tatet täte tätest täten tätet getan"),
    ("der", "dem den des"),
    ("die", "der"),
    ("das", "dem des"),
    ("ein", "eine einen einem einer eines"),
    ("kein", "keine keinen keinem keiner keines"),
    ("ich", "mir mich meiner"),
    ("du", "dir dich deiner"),
    ("er", "ihn ihm seiner"),
    ("sie", "ihr ihnen ihrer"),
    ("Sie", "Ihnen Ihrer"),
    ("es", "ihm seiner"),
    ("wir", "uns unser"),
    ("ihr", "euch euer"),
    ("mein", "meine meinen meinem meiner meines"),
    ("dein", "deine deinen deinem deiner deines"),
    ("sein", "seine seinen seinem seiner seines"),
    ("ihr", "ihre ihren ihrem ihrer ihres"),
    ("unser", "unsere unseren unserem unserer unseres unsre unsren unsrem unsrer unsres"),
    ("euer", "eure euren eurem eurer eures"),
    ("dieser", "diese dieses diesem diesen dies"),
    ("jener", "jene jenes jenem jenen"),
    ("jeder", "jede jedes jedem jeden"),
    ("welcher", "welche welches welchem welchen"),
    ("mancher", "manche manches manchem manchen"),
    ("solcher", "solche solches solchem solchen"),
    ("wer", "wen wem wessen"),
    ("was", "wessen"),
    ("derjenige", "diejenige dasjenige denjenigen demjenigen desjenigen derjenigen diejenigen"),
    ("derselbe", "dieselbe dasselbe denselben demselben desselben derselben dieselben"),
    ("in", "im ins"),
    ("an", "am ans"),
    ("von", "vom"),
    ("zu", "zum zur"),
    ("bei", "beim"),
    ("auf", "aufs"),
    ("durch", "durchs"),
    ("für", "fürs"),
    ("um", "ums"),
    ("über", "übers überm"),
    ("unter", "unters unterm"),
    ("vor", "vors vorm"),
    ("hinter", "hinters hinterm"),
    ("viel", "viele vielen vieler vieles mehr meisten"),
    ("wenig", "wenige wenigen weniger weniges"),
    ("gut", "besser beste besten bester bestes"),
    ("groß", "größer größte größten"),
    ("hoch", "hohe hohen hoher hohes höher höchste höchsten"),
    ("nah", "näher nächste nächsten"),
    ("gern", "lieber liebsten"),
    ("bald", "eher"),
    ("andere", "anderen anderem anderer anderes"),
]

def present_du(third):
    """The 2nd person singular from the 3rd: "gibt" gibst, "hält" hältst, "liest" liest."""
    if third.endswith(("st", "ßt", "zt")) or not third.endswith("t"):
        return third
    if third.endswith(("lt", "ät", "itt")):
        return third + "st"
    return third[:-1] + "st"


def preterite_forms(stem):
    if stem.endswith("e"):  # "hatte", "brachte": a weak preterite
        return [stem, stem + "st", stem + "n", stem + "t"]
    st = stem + ("est" if stem[-1] in "sßzdt" else "st")
    t = stem + ("et" if stem[-1] in "dt" else "t")
    plural = stem + ("n" if stem.endswith("ie") else "en")
    return [stem, st, plural, t]


def subjunctive_forms(stem):
    if stem.endswith("e"):
        base = stem
    else:
        base = stem + "e"
    return [base, base + "st", base + "n", base + "t"]


def participle_forms(participle):
    return [participle] + [participle + e for e in ("e", "em", "en", "er", "es")]


def main():
    lines = []
    for row in STRONG.strip().splitlines():
        parts = row.split()
        infinitive, third, preterite, subjunctive, participle = parts[:5]
        imperative = parts[5] if len(parts) > 5 else ""
        forms = []
        if third != "-":
            forms += [present_du(third), third]
        forms += preterite_forms(preterite)
        forms += subjunctive_forms(subjunctive)
        forms += participle_forms(participle)
        if imperative:
            forms.append(imperative)
        for form in forms:
            if form != infinitive:
                lines.append((form, infinitive))
    for base, forms in LISTED:
        for form in forms.split():
            lines.append((form, base))
    seen = set()
    out = ["# German forms that affix rules do not derive: form<TAB>base, one a line.",
           "# Made by tools/make-german-forms.py (strong and irregular verbs from their principal",
           "# parts, sein, haben, werden, the modal verbs, articles, pronouns and merged prepositions).",
           "# Lines added at the end by hand are kept by the program like any other."]
    for form, base in lines:
        if (form, base) in seen:
            continue
        seen.add((form, base))
        out.append(f"{form}\t{base}")
    path = pathlib.Path(__file__).resolve().parent.parent / "data" / "morphology" / "german.forms"
    path.write_text("\n".join(out) + "\n", encoding="utf-8")
    print(f"{path}: {len(out) - 4} forms")


if __name__ == "__main__":
    main()
