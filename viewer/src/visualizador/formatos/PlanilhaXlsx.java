package visualizador.formatos;

import java.io.BufferedWriter;
import java.io.FilterOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.io.Writer;
import java.math.BigDecimal;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.zip.Deflater;
import java.util.zip.ZipEntry;
import java.util.zip.ZipOutputStream;
import visualizador.publicacao.ArquivoParcial;

/**
 * A .xlsx workbook (Office Open XML) written as it comes: each row goes straight into the
 * compressed sheet in the file, so memory holds one row whatever the report's length. Sheets are
 * written one after the other; the parts that list them (workbook, styles, content types) are
 * written last. Texts are inline, so no shared-string table grows with the report.
 */
final class PlanilhaXlsx implements Planilha {
    private static final String NS = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    private static final String NS_REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    private static final String CABECALHO_XML = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

    private final ArquivoParcial parcial;
    private final ZipOutputStream zip;
    private final Writer out;
    private final Map<EstiloXls, Integer> estilos = new LinkedHashMap<>();
    private final List<String> folhas = new ArrayList<>();
    private final List<String> filtros = new ArrayList<>(); // per sheet, "A7:K100" or null
    private final List<String> mescladas = new ArrayList<>(); // of the current sheet, "A2:K2"
    private static final String[] COLUNAS = new String[64];
    static {
        for (int i = 0; i < COLUNAS.length; i++) COLUNAS[i] = coluna(i);
    }

    private EstiloXls[] ultimosEstilos;
    private String[] indicesEstilos;
    private boolean folhaAberta;
    private boolean concluido;

    PlanilhaXlsx(Path arquivo) throws IOException {
        parcial = new ArquivoParcial(arquivo);
        try {
            zip = new ZipOutputStream(Files.newOutputStream(parcial.temporario()), StandardCharsets.UTF_8);
            zip.setLevel(Deflater.BEST_SPEED); // most of the time goes to compressing; size matters less
            // Closing the writer must not close the zip in the middle of an entry.
            out = new BufferedWriter(new java.io.OutputStreamWriter(new FilterOutputStream(zip) {
                @Override
                public void write(byte[] b, int off, int len) throws IOException {
                    zip.write(b, off, len);
                }

                @Override
                public void close() throws IOException {
                    flush();
                }
            }, StandardCharsets.UTF_8), 1 << 16);
        } catch (IOException | RuntimeException e) {
            parcial.close();
            throw e;
        }
        estilo(new EstiloXls(null, visualizador.design.Alinhamento.ESQUERDA, EstiloXls.Fonte.NORMAL, false)); // 0
    }

    @Override
    public int linhasPorFolha() {
        return 1_048_576;
    }

    @Override
    public void novaFolha(String nome, int[] larguras256, int congeladas) throws IOException {
        fecharFolha();
        folhas.add(nome);
        filtros.add(null);
        zip.putNextEntry(new ZipEntry("xl/worksheets/sheet" + folhas.size() + ".xml"));
        folhaAberta = true;
        out.write(CABECALHO_XML + "<worksheet xmlns=\"" + NS + "\" xmlns:r=\"" + NS_REL + "\">");
        out.write("<sheetViews><sheetView workbookViewId=\"0\"" + (folhas.size() == 1 ? " tabSelected=\"1\"" : "") + ">");
        if (congeladas > 0)
            out.write("<pane ySplit=\"" + congeladas + "\" topLeftCell=\"A" + (congeladas + 1)
                    + "\" activePane=\"bottomLeft\" state=\"frozen\"/><selection pane=\"bottomLeft\"/>");
        out.write("</sheetView></sheetViews><cols>");
        for (int i = 0; i < larguras256.length; i++)
            out.write("<col min=\"" + (i + 1) + "\" max=\"" + (i + 1) + "\" width=\"" + larguras256[i] / 256.0
                    + "\" customWidth=\"1\"/>");
        out.write("</cols><sheetData>");
    }

    @Override
    public void linha(int indice, Object[] celulas, EstiloXls[] estilosDaLinha) throws IOException {
        linha(indice, celulas, estilosDaLinha, "");
    }

    @Override
    public void linhaLarga(int indice, String texto, EstiloXls estilo, int colunas, int linhasDeTexto) throws IOException {
        linha(indice, new Object[] {texto}, new EstiloXls[] {estilo},
                "\" ht=\"" + linhasDeTexto * TextoLargoXls.ALTURA_LINHA + "\" customHeight=\"1");
        if (colunas > 1) mescladas.add("A" + (indice + 1) + ":" + coluna(colunas - 1) + (indice + 1));
    }

    /** {@code atributos}: more of the row element's attributes, inside its r="…" quotes. */
    private void linha(int indice, Object[] celulas, EstiloXls[] estilosDaLinha, String atributos) throws IOException {
        final String r = Integer.toString(indice + 1);
        out.write("<row r=\"");
        out.write(r);
        out.write(atributos);
        out.write("\">");
        if (estilosDaLinha != ultimosEstilos) { // the lines of a report share one array: look it up once
            ultimosEstilos = estilosDaLinha;
            indicesEstilos = new String[estilosDaLinha.length];
            for (int i = 0; i < estilosDaLinha.length; i++)
                if (estilosDaLinha[i] != null) indicesEstilos[i] = "\" s=\"" + estilo(estilosDaLinha[i]) + "\"";
        }
        for (int i = 0; i < celulas.length; i++) {
            final Object v = celulas[i];
            if (v == null) continue;
            out.write("<c r=\"");
            out.write(i < COLUNAS.length ? COLUNAS[i] : coluna(i));
            out.write(r);
            out.write(indicesEstilos[i]);
            if (v instanceof FormulaXls f) {
                out.write("><f>");
                Marcacao.escapar(f.expressao(), out);
                out.write("</f><v>");
                out.write(numero(f.valor()));
                out.write("</v></c>");
            } else if (v instanceof Number n) {
                out.write("><v>");
                out.write(numero(n));
                out.write("</v></c>");
            } else {
                final String s = v.toString();
                out.write(" t=\"inlineStr\"><is><t");
                if (!s.equals(s.strip())) out.write(" xml:space=\"preserve\"");
                out.write('>');
                Marcacao.escapar(s, out);
                out.write("</t></is></c>");
            }
        }
        out.write("</row>");
    }

    @Override
    public void filtro(int primeira, int ultima, int colunas) {
        filtros.set(filtros.size() - 1, "A" + (primeira + 1) + ":" + coluna(colunas - 1) + (ultima + 1));
    }

    @Override
    public void concluir() throws IOException {
        fecharFolha();
        parte("[Content_Types].xml", tiposDeConteudo());
        parte("_rels/.rels", CABECALHO_XML + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                + "relationships\"><Relationship Id=\"rId1\" Type=\"" + NS_REL + "/officeDocument\" Target=\"xl/workbook.xml\"/>"
                + "</Relationships>");
        parte("xl/workbook.xml", livro());
        parte("xl/_rels/workbook.xml.rels", relacoesDoLivro());
        parte("xl/styles.xml", new EstilosXlsx(estilos.keySet()).xml());
        out.flush();
        zip.close();
        parcial.concluir();
        concluido = true;
    }

    @Override
    public void close() throws IOException {
        try (parcial) {
            if (!concluido) zip.close();
        }
    }

    private void fecharFolha() throws IOException {
        if (!folhaAberta) return;
        out.write("</sheetData>");
        final String f = filtros.get(filtros.size() - 1);
        if (f != null) out.write("<autoFilter ref=\"" + f + "\"/>");
        if (!mescladas.isEmpty()) {
            out.write("<mergeCells count=\"" + mescladas.size() + "\">");
            for (String m : mescladas) out.write("<mergeCell ref=\"" + m + "\"/>");
            out.write("</mergeCells>");
            mescladas.clear();
        }
        out.write("</worksheet>");
        out.flush();
        zip.closeEntry();
        folhaAberta = false;
    }

    private void parte(String nome, String conteudo) throws IOException {
        zip.putNextEntry(new ZipEntry(nome));
        out.write(conteudo);
        out.flush();
        zip.closeEntry();
    }

    private String tiposDeConteudo() {
        final StringBuilder s = new StringBuilder(CABECALHO_XML).append(
                "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                + "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                + "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                + "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument."
                + "spreadsheetml.sheet.main+xml\"/><Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
                + "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>");
        for (int i = 1; i <= folhas.size(); i++)
            s.append("<Override PartName=\"/xl/worksheets/sheet").append(i).append(".xml\" ContentType=\"application/"
                    + "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>");
        return s.append("</Types>").toString();
    }

    private String livro() throws IOException {
        final StringBuilder s = new StringBuilder(CABECALHO_XML).append("<workbook xmlns=\"").append(NS)
                .append("\" xmlns:r=\"").append(NS_REL).append("\"><sheets>");
        for (int i = 0; i < folhas.size(); i++) {
            s.append("<sheet name=\"").append(texto(folhas.get(i))).append("\" sheetId=\"").append(i + 1)
                    .append("\" r:id=\"rId").append(i + 1).append("\"/>");
        }
        s.append("</sheets><definedNames>");
        for (int i = 0; i < folhas.size(); i++) {
            final String f = filtros.get(i);
            if (f == null) continue;
            final String[] ab = f.split(":");
            s.append("<definedName name=\"_xlnm._FilterDatabase\" localSheetId=\"").append(i).append("\" hidden=\"1\">")
                    .append(texto("'" + folhas.get(i).replace("'", "''") + "'!" + absoluta(ab[0]) + ":" + absoluta(ab[1])))
                    .append("</definedName>");
        }
        return s.append("</definedNames></workbook>").toString();
    }

    private String relacoesDoLivro() {
        final StringBuilder s = new StringBuilder(CABECALHO_XML).append(
                "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">");
        for (int i = 1; i <= folhas.size(); i++)
            s.append("<Relationship Id=\"rId").append(i).append("\" Type=\"").append(NS_REL)
                    .append("/worksheet\" Target=\"worksheets/sheet").append(i).append(".xml\"/>");
        s.append("<Relationship Id=\"rId").append(folhas.size() + 1).append("\" Type=\"").append(NS_REL)
                .append("/styles\" Target=\"styles.xml\"/>");
        return s.append("</Relationships>").toString();
    }

    private int estilo(EstiloXls e) {
        return estilos.computeIfAbsent(e, k -> estilos.size());
    }

    private static String numero(Number n) {
        return n instanceof BigDecimal b ? b.toPlainString() : n.toString();
    }

    /** "A7" to "$A$7". */
    private static String absoluta(String celula) {
        int i = 0;
        while (i < celula.length() && Character.isLetter(celula.charAt(i))) i++;
        return "$" + celula.substring(0, i) + "$" + celula.substring(i);
    }

    /** Column letters: 0 is A, 25 Z, 26 AA. */
    static String coluna(int i) {
        final StringBuilder s = new StringBuilder();
        for (int n = i + 1; n > 0; n = (n - 1) / 26) s.insert(0, (char) ('A' + (n - 1) % 26));
        return s.toString();
    }

    private static String texto(String s) throws IOException {
        final java.io.StringWriter w = new java.io.StringWriter();
        Marcacao.escapar(s, w);
        return w.toString();
    }
}
