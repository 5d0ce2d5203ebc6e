package visualizador.saida;

import java.io.BufferedWriter;
import java.io.IOException;
import java.io.Writer;
import java.math.BigDecimal;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.List;
import java.util.Locale;
import visualizador.design.Coluna;

/**
 * The report as one self-contained HTML page (UTF-8, inline style, nothing fetched): the page
 * header, then one table with group headers, lines, subtotals and the grand total. Written as it
 * comes, so memory does not grow with the report; the page appears only once complete.
 */
public final class DestinoHtml implements Destino {
    private static final String ESTILO = """
            body{font-family:"DejaVu Sans",Arial,sans-serif;font-size:9pt;margin:1em}
            h1{font-size:13pt;margin:0 0 .3em}
            p{margin:.1em 0}
            table{border-collapse:collapse;width:100%;margin-top:.6em;table-layout:fixed}
            th,td{padding:1px 4px;vertical-align:top;overflow-wrap:anywhere}
            th{border-bottom:1px solid #000;text-align:left;background:#e8e8e8}
            thead{display:table-header-group}
            tr{page-break-inside:avoid}
            .d{text-align:right}.c{text-align:center}.e{text-align:left}
            tr.grupo td{font-weight:bold;padding-top:.5em;border-bottom:1px solid #999}
            tr.subtotal td{font-weight:bold;border-top:1px solid #999}
            tr.total td{font-weight:bold;border-top:2px solid #000}
            tr.vazio td{padding:1em 4px;font-style:italic}
            @page{size:A4 landscape;margin:1cm}
            """;

    private final ArquivoParcial parcial;
    private final BufferedWriter out;
    private List<Coluna> colunas;
    private boolean completo;

    public DestinoHtml(Path arquivo) throws IOException {
        parcial = new ArquivoParcial(arquivo);
        try {
            out = Files.newBufferedWriter(parcial.temporario(), StandardCharsets.UTF_8);
        } catch (IOException | RuntimeException e) {
            parcial.close();
            throw e;
        }
    }

    @Override
    public void inicio(Cabecalho c) throws IOException {
        colunas = c.colunas();
        out.write("<!DOCTYPE html>\n<html lang=\"pt-BR\">\n<head>\n<meta charset=\"UTF-8\">\n<title>");
        texto(c.titulo());
        out.write("</title>\n<style>\n" + ESTILO + "</style>\n</head>\n<body>\n<h1>");
        texto(c.titulo());
        out.write("</h1>\n<p class=\"filtros\">");
        texto(c.filtrosEmLinha());
        out.write("</p>\n<p>");
        texto(c.escolhas());
        out.write("</p>\n<p>");
        texto(c.emitidoEm());
        out.write("</p>\n<table>\n<colgroup>");
        double soma = 0;
        for (Coluna col : colunas) soma += col.largura();
        for (Coluna col : colunas)
            out.write(String.format(Locale.ROOT, "<col style=\"width:%.2f%%\">", 100 * col.largura() / soma));
        out.write("</colgroup>\n<thead><tr>");
        for (Coluna col : colunas) {
            out.write("<th class=\"" + classe(col) + "\">");
            texto(col.titulo());
            out.write("</th>");
        }
        out.write("</tr></thead>\n<tbody>\n");
    }

    @Override
    public void inicioGrupo(String titulo) throws IOException {
        out.write("<tr class=\"grupo\"><td colspan=\"" + colunas.size() + "\">");
        texto(titulo);
        out.write("</td></tr>\n");
    }

    @Override
    public void linha(Object[] valores) throws IOException {
        out.write("<tr>");
        for (int i = 0; i < colunas.size(); i++) {
            out.write("<td class=\"" + classe(colunas.get(i)) + "\">");
            texto(Formatos.texto(colunas.get(i), valores[i]));
            out.write("</td>");
        }
        out.write("</tr>\n");
    }

    @Override
    public void fimGrupo(String titulo, Totais totais) throws IOException {
        linhaTotais("subtotal", Formatos.linhas(totais.linhas()), totais);
    }

    @Override
    public void fim(Totais totais) throws IOException {
        if (totais.linhas() == 0) {
            out.write("<tr class=\"vazio\"><td colspan=\"" + colunas.size() + "\">");
            texto(Formatos.NENHUM_REGISTRO);
            out.write("</td></tr>\n");
        } else {
            linhaTotais("total", "Total geral: " + Formatos.linhas(totais.linhas()), totais);
        }
        out.write("</tbody>\n</table>\n</body>\n</html>\n");
        out.flush();
        completo = true;
    }

    /** The label spans the columns before the first summed one; the sums sit under their columns. */
    private void linhaTotais(String classe, String rotulo, Totais totais) throws IOException {
        int antes = 0;
        while (antes < colunas.size() && totais.soma(antes) == null) antes++;
        out.write("<tr class=\"" + classe + "\">");
        if (antes == 0) { // a summed first column shares its cell with the label
            out.write("<td>");
            texto(rotulo + ": " + Formatos.numero(totais.soma(0), colunas.get(0).casas()));
            antes = 1;
        } else {
            out.write("<td colspan=\"" + antes + "\">");
            texto(rotulo);
        }
        out.write("</td>");
        for (int i = antes; i < colunas.size(); i++) {
            final BigDecimal soma = totais.soma(i);
            out.write("<td class=\"" + classe(colunas.get(i)) + "\">");
            if (soma != null) texto(Formatos.numero(soma, colunas.get(i).casas()));
            out.write("</td>");
        }
        out.write("</tr>\n");
    }

    /** Moves the page into place only when complete; after a failure no file remains. */
    @Override
    public void close() throws IOException {
        try (parcial) {
            out.close();
            if (completo) parcial.concluir();
        }
    }

    private static String classe(Coluna c) {
        return switch (c.alinhamento()) {
            case DIREITA -> "d";
            case CENTRO -> "c";
            case ESQUERDA -> "e";
        };
    }

    private void texto(String s) throws IOException {
        escapar(s, out);
    }

    static void escapar(String s, Writer w) throws IOException {
        for (int i = 0; i < s.length(); i++) {
            final char c = s.charAt(i);
            switch (c) {
                case '<' -> w.write("&lt;");
                case '>' -> w.write("&gt;");
                case '&' -> w.write("&amp;");
                case '"' -> w.write("&quot;");
                case '\'' -> w.write("&#39;");
                default -> w.write(c);
            }
        }
    }
}
