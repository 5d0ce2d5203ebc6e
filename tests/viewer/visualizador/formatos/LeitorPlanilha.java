package visualizador.formatos;

import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;
import java.util.zip.ZipEntry;
import java.util.zip.ZipFile;
import javax.xml.parsers.DocumentBuilderFactory;
import org.apache.poi.hssf.usermodel.HSSFWorkbook;
import org.apache.poi.ss.usermodel.Cell;
import org.apache.poi.ss.usermodel.CellType;
import org.apache.poi.ss.usermodel.Row;
import org.apache.poi.ss.usermodel.Sheet;
import org.w3c.dom.Document;
import org.w3c.dom.Element;
import org.w3c.dom.NodeList;

/**
 * A written spreadsheet read back into one plain shape, whatever its format: .xls through POI,
 * .xlsx as the package it is (zip parts parsed as XML, following the workbook's relationships).
 */
final class LeitorPlanilha {
    /**
     * A cell: String or Double (a formula's cached value), its number format ("General" when none)
     * and its formula, null when it has none.
     */
    record Celula(Object valor, String formato, String formula) {}

    record Folha(String nome, Map<Integer, Map<Integer, Celula>> linhas, int congeladas, String filtro,
                 List<String> mescladas) {
        Object valor(int linha, int coluna) {
            final Map<Integer, Celula> l = linhas.get(linha);
            final Celula c = l == null ? null : l.get(coluna);
            return c == null ? null : c.valor();
        }

        String formato(int linha, int coluna) {
            return linhas.get(linha).get(coluna).formato();
        }

        String formula(int linha, int coluna) {
            return linhas.get(linha).get(coluna).formula();
        }

        /** The texts of a row, in column order. */
        List<Object> linha(int linha) {
            return linhas.containsKey(linha) ? new ArrayList<>(linhas.get(linha).values().stream().map(Celula::valor)
                    .toList()) : null;
        }
    }

    private LeitorPlanilha() {}

    static List<Folha> ler(Path arquivo) throws Exception {
        return visualizador.Formato.xlsx(arquivo) ? xlsx(arquivo) : xls(arquivo);
    }

    private static List<Folha> xls(Path arquivo) throws Exception {
        final List<Folha> folhas = new ArrayList<>();
        try (InputStream in = Files.newInputStream(arquivo); HSSFWorkbook wb = new HSSFWorkbook(in)) {
            for (int f = 0; f < wb.getNumberOfSheets(); f++) {
                final Sheet s = wb.getSheetAt(f);
                final Map<Integer, Map<Integer, Celula>> linhas = new TreeMap<>();
                for (Row r : s) {
                    final Map<Integer, Celula> l = new TreeMap<>();
                    for (Cell c : r) {
                        final boolean formula = c.getCellType() == CellType.FORMULA;
                        final CellType tipo = formula ? c.getCachedFormulaResultType() : c.getCellType();
                        l.put(c.getColumnIndex(), new Celula(tipo == CellType.NUMERIC ? (Object) c.getNumericCellValue()
                                : c.getStringCellValue(), c.getCellStyle().getDataFormatString(),
                                formula ? c.getCellFormula() : null));
                    }
                    linhas.put(r.getRowNum(), l);
                }
                final int indice = f;
                final String filtro = wb.getAllNames().stream().filter(n -> n.getNameName().equals("_FilterDatabase")
                        && n.getSheetIndex() == indice).map(n -> n.getRefersToFormula().replaceAll(".*!", "").replace("$", ""))
                        .findFirst().orElse(null);
                final var pane = s.getPaneInformation();
                folhas.add(new Folha(wb.getSheetName(f), linhas,
                        pane != null && pane.isFreezePane() ? pane.getHorizontalSplitPosition() : 0, filtro,
                        s.getMergedRegions().stream().map(m -> m.formatAsString()).toList()));
            }
        }
        return folhas;
    }

    private static List<Folha> xlsx(Path arquivo) throws Exception {
        final List<Folha> folhas = new ArrayList<>();
        try (ZipFile zip = new ZipFile(arquivo.toFile())) {
            final Document tipos = xml(zip, "[Content_Types].xml");
            final Document livro = xml(zip, "xl/workbook.xml");
            final Map<String, String> alvos = new HashMap<>();
            for (Element r : elementos(xml(zip, "xl/_rels/workbook.xml.rels"), "Relationship"))
                alvos.put(r.getAttribute("Id"), r.getAttribute("Target"));
            final Document estilos = xml(zip, "xl/styles.xml");
            final Map<String, String> codigos = new HashMap<>(Map.of("0", "General"));
            for (Element n : elementos(estilos, "numFmt")) codigos.put(n.getAttribute("numFmtId"), n.getAttribute("formatCode"));
            final List<String> formatos = new ArrayList<>();
            final Element xfs = elementos(estilos, "cellXfs").get(0);
            for (Element xf : elementos(xfs, "xf")) formatos.add(codigos.get(xf.getAttribute("numFmtId")));
            for (Element folha : elementos(livro, "sheet")) {
                final String parte = "xl/" + alvos.get(folha.getAttribute("r:id"));
                if (elementos(tipos, "Override").stream().noneMatch(o -> o.getAttribute("PartName").equals("/" + parte)))
                    throw new AssertionError(parte + " missing from the content types");
                final Document d = xml(zip, parte);
                final Map<Integer, Map<Integer, Celula>> linhas = new TreeMap<>();
                for (Element r : elementos(d, "row")) {
                    final Map<Integer, Celula> l = new TreeMap<>();
                    for (Element c : elementos(r, "c")) {
                        final String ref = c.getAttribute("r");
                        final Object valor = c.getAttribute("t").equals("inlineStr")
                                ? elementos(c, "t").get(0).getTextContent()
                                : (Object) Double.parseDouble(elementos(c, "v").get(0).getTextContent());
                        final List<Element> f = elementos(c, "f");
                        l.put(coluna(ref), new Celula(valor, formatos.get(Integer.parseInt(c.getAttribute("s"))),
                                f.isEmpty() ? null : f.get(0).getTextContent()));
                    }
                    linhas.put(Integer.parseInt(r.getAttribute("r")) - 1, l);
                }
                final List<Element> pane = elementos(d, "pane");
                final List<Element> filtro = elementos(d, "autoFilter");
                folhas.add(new Folha(folha.getAttribute("name"), linhas,
                        pane.isEmpty() ? 0 : Integer.parseInt(pane.get(0).getAttribute("ySplit")),
                        filtro.isEmpty() ? null : filtro.get(0).getAttribute("ref"),
                        elementos(d, "mergeCell").stream().map(m -> m.getAttribute("ref")).toList()));
            }
        }
        return folhas;
    }

    private static int coluna(String ref) {
        int n = 0;
        for (char ch : ref.toCharArray()) {
            if (!Character.isLetter(ch)) break;
            n = n * 26 + (ch - 'A' + 1);
        }
        return n - 1;
    }

    private static Document xml(ZipFile zip, String nome) throws Exception {
        final ZipEntry e = zip.getEntry(nome);
        if (e == null) throw new AssertionError(nome + " missing from the package");
        try (InputStream in = zip.getInputStream(e)) {
            return DocumentBuilderFactory.newInstance().newDocumentBuilder().parse(in);
        }
    }

    private static List<Element> elementos(Object no, String nome) {
        final NodeList l = no instanceof Document d ? d.getElementsByTagName(nome) : ((Element) no).getElementsByTagName(nome);
        final List<Element> r = new ArrayList<>();
        for (int i = 0; i < l.getLength(); i++) r.add((Element) l.item(i));
        return r;
    }
}
