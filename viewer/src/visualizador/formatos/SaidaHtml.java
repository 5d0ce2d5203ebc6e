package visualizador.formatos;

import java.io.BufferedWriter;
import java.io.IOException;
import java.nio.file.Path;
import java.util.List;
import java.util.Locale;
import visualizador.pagina.Cabecalho;
import visualizador.pagina.ColunaTabela;
import visualizador.pagina.LinhaTabela;
import visualizador.pagina.SaidaTabela;
import visualizador.pagina.Tabela;
import visualizador.publicacao.TextoParcial;

/** The report's table as an HTML page (see {@link DestinoHtml}). */
final class SaidaHtml implements SaidaTabela {
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
            table.nova{break-before:page;page-break-before:always}
            @page{size:A4 landscape;margin:1cm}
            """;

    private final TextoParcial arquivo;
    private final BufferedWriter out;
    private Tabela tabela;
    private List<ColunaTabela> colunas;
    /** Each column's opening cell tag, plain and for a negative figure: built once, not per cell. */
    private String[] celula;
    private String[] celulaNegativa;
    /** Where each group starts a printed page of its own: a table per group, its titles repeated. */
    private boolean tabelaPorGrupo;
    private String titulosDaTabela;
    private boolean algumGrupo;

    SaidaHtml(Path arquivo) throws IOException {
        this.arquivo = new TextoParcial(arquivo);
        out = this.arquivo.escritor();
    }

    @Override
    public void inicio(Tabela t, Cabecalho c) throws IOException {
        tabela = t;
        colunas = t.colunas();
        celula = new String[colunas.size()];
        celulaNegativa = new String[colunas.size()];
        for (int i = 0; i < celula.length; i++) {
            celula[i] = "<td class=\"" + classe(colunas.get(i)) + "\">";
            celulaNegativa[i] = "<td class=\"" + classe(colunas.get(i)) + " neg\">";
        }
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
        tabelaPorGrupo = c.paginaPorGrupo() && !t.resumo();
        final StringBuilder titulos = new StringBuilder();
        if (!t.resumo()) { // the design's widths; a summary's few columns share the page evenly
            titulos.append("<colgroup>");
            double soma = 0;
            for (ColunaTabela col : colunas) soma += col.origem().largura();
            for (ColunaTabela col : colunas)
                titulos.append(String.format(Locale.ROOT, "<col style=\"width:%.2f%%\">", 100 * col.origem().largura() / soma));
            titulos.append("</colgroup>\n");
        }
        titulos.append("<thead><tr>");
        for (ColunaTabela col : colunas)
            titulos.append("<th class=\"").append(classe(col)).append("\">").append(Marcacao.escapar(col.titulo())).append("</th>");
        titulosDaTabela = titulos.append("</tr></thead>\n<tbody>\n").toString();
        out.write(titulosDaTabela);
    }

    @Override
    public void linha(LinhaTabela l) throws IOException {
        switch (l.tipo()) {
            case GRUPO -> {
                if (tabelaPorGrupo && algumGrupo) out.write("</tbody>\n</table>\n<table class=\"nova\">\n" + titulosDaTabela);
                algumGrupo = true;
                linhaUnica("grupo", l.rotulo());
            }
            case DETALHE, RESUMO -> celulas("<tr>", l);
            case TOTAL_RESUMO -> celulas("<tr class=\"total\">", l);
            case SUBTOTAL -> linhaTotais("subtotal", l);
            case TOTAL -> linhaTotais("total", l);
            case NENHUM_REGISTRO -> linhaUnica("vazio", l.rotulo());
        }
    }

    @Override
    public void fim() throws IOException {
        out.write("</tbody>\n</table>\n</body>\n</html>\n");
        out.flush();
        arquivo.completo();
    }

    /** A text across the whole table. */
    private void linhaUnica(String classe, String s) throws IOException {
        out.write("<tr class=\"" + classe + "\"><td colspan=\"" + colunas.size() + "\">");
        texto(s);
        out.write("</td></tr>\n");
    }

    private void celulas(String tr, LinhaTabela l) throws IOException {
        out.write(tr);
        for (int i = 0; i < colunas.size(); i++) {
            out.write(l.negativo(i) ? celulaNegativa[i] : celula[i]);
            texto(l.texto(i));
            out.write("</td>");
        }
        out.write("</tr>\n");
    }

    /** The label spans the columns before the first summed one; the sums sit under their columns. */
    private void linhaTotais(String classe, LinhaTabela l) throws IOException {
        int antes = tabela.colunasDoRotulo();
        out.write("<tr class=\"" + classe + "\">");
        if (antes == 0) { // a summed first column shares its cell with the label
            out.write("<td>");
            texto(l.rotulo() + ": " + l.texto(0));
            antes = 1;
        } else {
            out.write("<td colspan=\"" + antes + "\">");
            texto(l.rotulo());
        }
        out.write("</td>");
        for (int i = antes; i < colunas.size(); i++) {
            out.write(l.negativo(i) ? celulaNegativa[i] : celula[i]);
            texto(l.texto(i));
            out.write("</td>");
        }
        out.write("</tr>\n");
    }

    /** Moves the page into place only when complete; after a failure no file remains. */
    @Override
    public void close() throws IOException {
        arquivo.close();
    }

    private static String classe(ColunaTabela c) {
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
