package visualizador.formatos;

import java.io.BufferedWriter;
import java.io.IOException;
import java.io.Writer;
import java.math.BigDecimal;
import java.nio.file.Path;
import java.util.List;
import java.util.Locale;
import visualizador.design.Coluna;
import visualizador.pagina.Cabecalho;
import visualizador.pagina.Destino;
import visualizador.pagina.Formatos;
import visualizador.pagina.Totais;
import visualizador.publicacao.TextoParcial;

/**
 * The report as one self-contained HTML page (UTF-8, inline style, nothing fetched): the page
 * header, then one table with group headers, lines, subtotals and the grand total; a summary has
 * one row per group with its count and sums instead. Negative figures are red. Written as it
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
            td.neg{color:#c00000}
            @page{size:A4 landscape;margin:1cm}
            """;

    private final TextoParcial arquivo;
    private final BufferedWriter out;
    private Cabecalho cabecalho;
    private List<Coluna> colunas;
    /** A summary's table: group, count, then these columns' sums; null for the full report. */
    private int[] somadas;

    public DestinoHtml(Path arquivo) throws IOException {
        this.arquivo = new TextoParcial(arquivo);
        out = this.arquivo.escritor();
    }

    @Override
    public void inicio(Cabecalho c) throws IOException {
        cabecalho = c;
        colunas = c.colunas();
        out.write("<!DOCTYPE html>\n<html lang=\"pt-BR\">\n<head>\n<meta charset=\"UTF-8\">\n<title>");
        texto(c.titulo());
        out.write("</title>\n<style>\n" + ESTILO + "</style>\n</head>\n<body>\n<h1>");
        texto(c.titulo());
        out.write("</h1>\n");
        for (String filtro : c.filtrosCompletos()) {
            out.write("<p class=\"filtro\">");
            texto(filtro);
            out.write("</p>\n");
        }
        out.write("<p>");
        texto(c.escolhas());
        out.write("</p>\n<p>");
        texto(c.emitidoEm());
        out.write("</p>\n<table>\n");
        if (c.somenteTotais()) {
            inicioResumo();
            return;
        }
        out.write("<colgroup>");
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

    /** The summary's titles: the grouping, the count, then each totalled column. */
    private void inicioResumo() throws IOException {
        somadas = cabecalho.colunasSomadas();
        out.write("<thead><tr><th class=\"e\">");
        texto(cabecalho.agrupamento());
        out.write("</th><th class=\"d\">Linhas</th>");
        for (int i : somadas) {
            out.write("<th class=\"d\">");
            texto(colunas.get(i).titulo());
            out.write("</th>");
        }
        out.write("</tr></thead>\n<tbody>\n");
    }

    @Override
    public void inicioGrupo(String titulo) throws IOException {
        if (somadas != null) return;
        out.write("<tr class=\"grupo\"><td colspan=\"" + colunas.size() + "\">");
        texto(titulo);
        out.write("</td></tr>\n");
    }

    @Override
    public void linha(Object[] valores) throws IOException {
        out.write("<tr>");
        for (int i = 0; i < colunas.size(); i++) {
            out.write("<td class=\"" + classe(colunas.get(i)) + negativo(valores[i]) + "\">");
            texto(Formatos.texto(colunas.get(i), valores[i]));
            out.write("</td>");
        }
        out.write("</tr>\n");
    }

    @Override
    public void fimGrupo(String titulo, Totais totais) throws IOException {
        if (somadas != null) linhaResumo("", cabecalho.nomeDoGrupo(titulo), totais);
        else linhaTotais("subtotal", "Total " + titulo + ": " + Formatos.linhas(totais.linhas()), totais);
    }

    @Override
    public void fim(Totais totais) throws IOException {
        if (totais.linhas() == 0) {
            out.write("<tr class=\"vazio\"><td colspan=\"" + (somadas == null ? colunas.size() : 2 + somadas.length)
                    + "\">");
            texto(Formatos.NENHUM_REGISTRO);
            out.write("</td></tr>\n");
        } else if (somadas != null) {
            linhaResumo(" class=\"total\"", "Total geral", totais);
        } else {
            linhaTotais("total", "Total geral: " + Formatos.linhas(totais.linhas()), totais);
        }
        out.write("</tbody>\n</table>\n</body>\n</html>\n");
        out.flush();
        arquivo.completo();
    }

    private void linhaResumo(String classe, String nome, Totais totais) throws IOException {
        out.write("<tr" + classe + "><td class=\"e\">");
        texto(nome);
        out.write("</td><td class=\"d\">");
        texto(Formatos.inteiro(totais.linhas()));
        out.write("</td>");
        for (int i : somadas) {
            final BigDecimal soma = totais.soma(i);
            out.write("<td class=\"d" + negativo(soma) + "\">");
            texto(Formatos.numero(soma, colunas.get(i).casas()));
            out.write("</td>");
        }
        out.write("</tr>\n");
    }

    /** " neg" for a negative figure, which shows in red: a stock audit looks for exactly those. */
    private static String negativo(Object valor) {
        return valor instanceof BigDecimal n && n.signum() < 0 ? " neg" : "";
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
            out.write("<td class=\"" + classe(colunas.get(i)) + negativo(soma) + "\">");
            if (soma != null) texto(Formatos.numero(soma, colunas.get(i).casas()));
            out.write("</td>");
        }
        out.write("</tr>\n");
    }

    /** Moves the page into place only when complete; after a failure no file remains. */
    @Override
    public void close() throws IOException {
        arquivo.close();
    }

    private static String classe(Coluna c) {
        return switch (c.alinhamento()) {
            case DIREITA -> "d";
            case CENTRO -> "c";
            case ESQUERDA -> "e";
        };
    }

    private void texto(String s) throws IOException {
        Marcacao.escapar(s, out);
    }
}
