// The page's style sheet: the palette as custom properties for a light theme, a dark one where
// the reader's system prefers it, and the light one again in print; a layout that reads on a
// phone 390 pixels wide and at 200% zoom; the figures' filters; and print rules (no filters, no
// figure split across pages, the folded rows printed open). It holds no < and no &, so the page
// stays well-formed XML.
#include "results/output/html_parts.h"
#include "results/output/palette.h"

namespace {

std::string Properties(bool dark) {
  std::string css;
  for (const PaletteColour& colour : Palette) {
    css += std::string("--") + colour.name + ":" + (dark ? colour.dark : colour.light) + ";";
  }
  return css;
}

std::string SeriesRules() {
  std::string css;
  for (std::size_t i = 0; i < SeriesCount; ++i) {
    const std::string n = std::to_string(i);
    const std::string colour = "var(--c" + n + ")";
    css.append(".k").append(n).append("{fill:").append(colour).append(";stroke:").append(colour);
    css.append("}.s").append(n).append("{stroke:").append(colour).append("}\n");
  }
  return css;
}

}  // namespace

std::string StyleSheet() {
  return ":root{" + Properties(false) +
         "color-scheme:light dark}\n"
         "@media (prefers-color-scheme:dark){:root{" +
         Properties(true) +
         "}}\n"
         "*{box-sizing:border-box}\n"
         "body{margin:0;background:var(--bg);color:var(--fg);"
         "font:16px/1.45 system-ui,-apple-system,\"Segoe UI\",Roboto,sans-serif}\n"
         "header,main,footer{max-width:76rem;margin:0 auto;padding:0 1rem}\n"
         "h1{font-size:1.7rem;line-height:1.2;margin:1.2rem 0 .5rem;overflow-wrap:anywhere}\n"
         "h2{font-size:1.3rem;margin:2.2rem 0 .7rem;padding-bottom:.2rem;"
         "border-bottom:1px solid var(--rule)}\n"
         "h3{font-size:1.05rem;margin:1rem 0 .5rem;overflow-wrap:anywhere}\n"
         "bdi{unicode-bidi:isolate}\n"
         "code{font-size:.92em}\n"
         ".rules{max-width:60rem}\n"
         ".defs{position:absolute;width:0;height:0;overflow:hidden}\n"
         "svg.key{width:.8em;height:.8em;vertical-align:-.05em;overflow:visible}\n"
         "svg.key use{stroke-width:1.2}\n"
         ".cards{display:grid;grid-template-columns:repeat(auto-fit,minmax(min(100%,20rem),1fr));"
         "gap:1rem}\n"
         ".card{background:var(--card);border-radius:.5rem;padding:.8rem 1rem;"
         "break-inside:avoid}\n"
         ".card h3{margin:0}\n"
         ".sub,.counts,.unit,.spread,.chg,.none,.note{color:var(--muted)}\n"
         ".sub{margin:.1rem 0 .6rem;font-size:.9rem}\n"
         ".card dl{display:grid;grid-template-columns:repeat(auto-fill,minmax(8.5rem,1fr));"
         "gap:.7rem 1rem;margin:0}\n"
         ".card dt{font-size:.9rem}\n"
         ".card dd{margin:0}\n"
         ".big{font-size:1.55rem;font-weight:650;font-variant-numeric:tabular-nums}\n"
         ".counts{font-size:.9rem;margin:.7rem 0 0}\n"
         ".v{font-weight:650;white-space:nowrap}\n"
         ".v.faster,tspan.faster{color:var(--faster);fill:var(--faster)}\n"
         ".v.slower,tspan.slower{color:var(--slower);fill:var(--slower)}\n"
         ".v.same,tspan.same{color:var(--same);fill:var(--same)}\n"
         ".v.undecided,tspan.undecided{color:var(--undecided);fill:var(--undecided)}\n"
         "tspan.none{fill:var(--muted)}\n"
         ".flag{font-weight:650;cursor:help}\n"
         ".scroll{overflow-x:auto;max-width:100%}\n"
         "table{border-collapse:collapse;font-variant-numeric:tabular-nums}\n"
         "th,td{padding:.3rem .6rem;border-bottom:1px solid var(--rule);vertical-align:top}\n"
         "thead th{text-align:left;border-bottom-width:2px}\n"
         "tbody th{text-align:left;font-weight:normal;white-space:nowrap}\n"
         // A wide table scrolls under its first column, which names the row.
         "table.figures th:first-child,table.context th:first-child{position:sticky;left:0;"
         "background:var(--bg)}\n"
         "table.figures td,td.n{text-align:right;white-space:nowrap}\n"
         "table.figures thead th{text-align:right}\n"
         "table.figures thead th:first-child{text-align:left}\n"
         "tbody.context{color:var(--muted)}\n"
         "td.file{overflow-wrap:anywhere;min-width:12rem}\n"
         "table.runs td:nth-child(2),.when{white-space:nowrap}\n"
         "tr.differs th,tr.differs td,.differs-line strong{font-weight:700}\n"
         ".sym{font-weight:700}\n"
         "details{margin:.8rem 0}\n"
         ".caveats li{margin-bottom:.5rem}\n"
         ".caveats details{margin:.1rem 0 0;font-size:.88rem;color:var(--muted)}\n"
         "summary{cursor:pointer}\n"
         ".filters{display:flex;flex-wrap:wrap;gap:.3rem 1.4rem;margin:0 0 .7rem}\n"
         ".filters input{width:1.1em;height:1.1em;vertical-align:-.15em}\n"
         "#figures:has(#hide-same:checked) tr.same,"
         "#figures:has(#only-decided:checked) tbody.figures tr:not(.decided),"
         "#figures:has(#only-decided:checked) tbody.context,"
         "#figures:has(#hide-details:checked) tr.detail{display:none}\n"
         ".notes{color:var(--muted);font-size:.92rem}\n"
         ".charts{display:grid;grid-template-columns:repeat(auto-fill,minmax(min(100%,30rem),1fr));"
         "gap:1.4rem 1.6rem}\n"
         ".runcharts{display:grid;"
         "grid-template-columns:repeat(auto-fill,minmax(min(100%,20rem),1fr));gap:1rem 1.4rem}\n"
         "figure{margin:0;break-inside:avoid}\n"
         "figcaption{font-weight:650;margin-bottom:.3rem}\n"
         "svg.chart{display:block;width:100%;height:auto;overflow:visible}\n"
         "svg.chart text{fill:var(--fg);font-size:11px;font-family:inherit}\n"
         "svg.chart text.label{text-anchor:end}\n"
         "svg.chart text.tick{text-anchor:middle;fill:var(--muted)}\n"
         "svg.chart text.start{text-anchor:start}\n"
         "svg.chart text.heading{font-weight:650}\n"
         "svg.chart .grid,svg.chart .axis{stroke:var(--rule);stroke-width:1;fill:none}\n"
         "svg.chart .grid{stroke-dasharray:2 3}\n"
         "svg.chart .zero{stroke:var(--fg);stroke-width:1}\n"
         "svg.chart .whisker{stroke:var(--fg);stroke-width:1.4;fill:none}\n"
         "svg.chart .interval{stroke-width:2.5;fill:none}\n"
         "svg.chart .hatch{stroke:var(--rule);stroke-width:1.6}\n"
         "svg.chart .band{stroke:var(--rule);stroke-width:1}\n"
         "svg.chart use{stroke-width:1.3}\n"
         "svg.chart .bar{stroke:none}\n" +
         SeriesRules() +
         // After the columns' colours, and more specific: the first run's marker is hollow.
         "svg use.o{fill:var(--bg)}\n"
         "footer{margin-top:2.5rem;padding-bottom:2rem;color:var(--muted);font-size:.92rem}\n"
         "@media (max-width:40rem){body{font-size:15px}h1{font-size:1.4rem}"
         "header,main,footer{padding:0 .7rem}.big{font-size:1.35rem}}\n"
         "@media print{:root{" +
         Properties(false) +
         "color-scheme:light}"
         "body{font-size:11pt}.filters{display:none}"
         "#figures tbody{display:table-row-group!important}"
         "#figures tr{display:table-row!important}"
         "figure,.card,tr,h2,h3{break-inside:avoid}h2,h3{break-after:avoid}"
         "figure.headline svg.chart{max-width:34rem}"
         "details::details-content{content-visibility:visible;display:contents}"
         "summary{list-style:none}"
         ".scroll{overflow:visible}"
         "svg{print-color-adjust:exact;-webkit-print-color-adjust:exact}}\n";
}
