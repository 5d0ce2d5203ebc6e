package visualizador.formatos;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.sql.ResultSet;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import visualizador.BancoTeste;
import visualizador.dados.Conexao;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.OpcoesRelatorio;
import visualizador.dados.Progresso;
import visualizador.dados.ValoresParametros;
import visualizador.pagina.Formatos;
import visualizador.pagina.Totais;

class DestinoHtmlTest {
    @TempDir
    Path pasta;

    @Test
    void bancoRealAgrupadoComTotais() throws Exception {
        final Path arquivo = pasta.resolve("marca3.html");
        final long linhas;
        final List<Object> grupos;
        try (Conexao conexao = BancoTeste.conectar(pasta); ResultSet rs = conexao.jdbc().createStatement().executeQuery(
                "SELECT count(*), array_agg(DISTINCT coalesce(estdepproendcod || ' - ' || depproenddes, 'SEM ENDEREÇO'))"
                        + " FROM est JOIN pro ON procod = estprocod LEFT JOIN dep_pro_enderecamento ON depproendcod"
                        + " = estdepproendcod WHERE estforalinha IS DISTINCT FROM 'S' AND promarcascod = 3")) {
            rs.next();
            linhas = rs.getLong(1);
            grupos = List.of((Object[]) rs.getArray(2).getArray());
            final var valores = ValoresParametros.analisar(BancoTeste.design(), List.of(Map.entry("P_MARCA", "3")));
            try (DestinoHtml d = new DestinoHtml(arquivo)) {
                new MotorRelatorio(conexao, BancoTeste.design(), valores).executar(d, Progresso.NENHUM);
            }
        }
        final String html = Files.readString(arquivo, StandardCharsets.UTF_8);
        assertTrue(html.contains("<h1>Relação de Produtos por Endereço</h1>"));
        for (Object g : grupos) {
            assertTrue(html.contains("<td colspan=\"11\">Depósito: " + g + "</td>"), g.toString());
            // The subtotal names its group, as the PDF does.
            assertTrue(html.matches("(?s).*<td colspan=\"7\">Total Depósito: " + java.util.regex.Pattern.quote(g.toString())
                    + ": [0-9.]+ linhas?</td>.*"), g.toString());
        }
        assertEquals(grupos.size(), html.split("class=\"grupo\"", -1).length - 1);
        assertEquals(grupos.size(), html.split("class=\"subtotal\"", -1).length - 1);
        assertTrue(html.contains("Total geral: " + Formatos.linhas(linhas) + "</td>"));
        assertFalse(html.contains("src=") || html.contains("href="), "self-contained");
    }

    @Test
    void textoHostilEscapadoEVazioAvisado() throws Exception {
        final Path arquivo = pasta.resolve("r.html");
        try (DestinoHtml d = new DestinoHtml(arquivo)) {
            d.inicio(DestinoXlsTest.cabecalho());
            d.inicioGrupo("Depósito: <b>\"x\"</b>");
            d.linha(DestinoXlsTest.linha(1, "<script>alert('&')</script>"));
            d.fim(new Totais(DestinoXlsTest.cabecalho().colunas()));
        }
        final String html = Files.readString(arquivo, StandardCharsets.UTF_8);
        assertFalse(html.contains("<script>") || html.contains("<b>") || html.contains("<teste>"));
        assertTrue(html.contains("&lt;script&gt;alert(&#39;&amp;&#39;)&lt;/script&gt;"));
        assertTrue(html.contains("Depósito: &lt;b&gt;&quot;x&quot;&lt;/b&gt;"));
        assertTrue(html.contains(Formatos.NENHUM_REGISTRO));
    }

    @Test
    void falhaNaoDeixaArquivoNemEstragaOAnterior() throws Exception {
        final Path arquivo = pasta.resolve("r.html");
        Files.writeString(arquivo, "anterior");
        assertThrows(IOException.class, () -> {
            try (DestinoHtml d = new DestinoHtml(arquivo)) {
                d.inicio(DestinoXlsTest.cabecalho());
                d.linha(DestinoXlsTest.linha(1, "a"));
                throw new IOException("falha no meio");
            }
        });
        assertEquals("anterior", Files.readString(arquivo));
        try (var arquivos = Files.list(pasta)) {
            assertEquals(List.of(arquivo), arquivos.toList());
        }
    }

    private String gerar(String nome, OpcoesRelatorio opcoes, String... pares) throws Exception {
        final Path arquivo = pasta.resolve(nome);
        final List<Map.Entry<String, String>> l = new ArrayList<>();
        for (String p : pares) l.add(Map.entry(p.substring(0, p.indexOf('=')), p.substring(p.indexOf('=') + 1)));
        try (Conexao conexao = BancoTeste.conectar(pasta); DestinoHtml d = new DestinoHtml(arquivo)) {
            new MotorRelatorio(conexao, BancoTeste.design(), ValoresParametros.analisar(BancoTeste.design(), l), opcoes)
                    .executar(d, Progresso.NENHUM);
        }
        return Files.readString(arquivo, StandardCharsets.UTF_8);
    }

    private static long contar(String sql) throws Exception {
        try (Conexao conexao = BancoTeste.conectar(Files.createTempDirectory("zv"));
             ResultSet rs = conexao.jdbc().createStatement().executeQuery(sql)) {
            rs.next();
            return rs.getLong(1);
        }
    }

    // A description from the database is text, never markup, in the page header.
    @Test
    void descricaoHostilDoBancoEscapadaNoCabecalho() throws Exception {
        BancoTeste.superusuario("INSERT INTO marcas (marcascod, marcasdes) VALUES (990001, 'M&M <LTDA>')");
        final String html;
        try {
            html = gerar("hostil.html", OpcoesRelatorio.PADRAO, "P_MARCA=990001,3");
        } finally {
            BancoTeste.superusuario("DELETE FROM marcas WHERE marcascod = 990001");
        }
        assertTrue(html.contains("<p class=\"filtro\">Marca: 990001 - M&amp;M &lt;LTDA&gt;, 3 - TIO JOÃO</p>"), html);
        assertFalse(html.contains("<LTDA>"));
    }

    // A summary: one row per group with its count, no lines; negative stock stands out in red.
    @Test
    void resumoEEstoqueNegativo() throws Exception {
        final String resumo = gerar("resumo.html", new OpcoesRelatorio(true, false), "P_GRUPO=3");
        final long empresas = contar("SELECT count(DISTINCT estempparcod) FROM est WHERE estforalinha IS DISTINCT FROM 'S'");
        final long linhas = contar("SELECT count(*) FROM est WHERE estforalinha IS DISTINCT FROM 'S'");
        assertEquals(empresas + 2, resumo.split("<tr", -1).length - 1, "titles, one row per company, the total");
        assertFalse(resumo.contains("class=\"grupo\""));
        assertTrue(resumo.contains("<th class=\"e\">Empresa</th><th class=\"d\">Linhas</th>"));
        assertTrue(resumo.contains("<tr class=\"total\"><td class=\"e\">Total geral</td><td class=\"d\">"
                + Formatos.inteiro(linhas) + "</td>"));

        final String completo = gerar("completo.html", OpcoesRelatorio.PADRAO);
        final long negativos = contar("SELECT count(*) FROM est WHERE estforalinha IS DISTINCT FROM 'S' AND estqtd < 0");
        assertTrue(negativos > 0);
        final long linhasVermelhas = completo.lines().filter(l -> l.startsWith("<tr><") && l.contains(" neg\">-")).count();
        assertEquals(negativos, linhasVermelhas);
        assertFalse(completo.matches("(?s).*<td class=\"d neg\">[0-9].*"), "only negative figures are red");
    }

    // Each group on a printed page of its own: a table per group, its column titles repeated; a
    // summary, one line per group, stays one table.
    @Test
    void paginaPorGrupo() throws Exception {
        final long empresas = contar("SELECT count(DISTINCT estempparcod) FROM est WHERE estforalinha IS DISTINCT FROM 'S'");
        assertTrue(empresas > 1);
        final String html = gerar("grupos.html", new OpcoesRelatorio(false, false, true), "P_GRUPO=3");
        assertEquals(empresas - 1, html.split("<table class=\"nova\">", -1).length - 1);
        assertEquals(empresas, html.split("<thead>", -1).length - 1);
        for (String tabela : html.split("<table class=\"nova\">"))
            assertEquals(1, tabela.split("<tr class=\"grupo\">", -1).length - 1, "one group a table");
        final String resumo = gerar("gruposResumo.html", new OpcoesRelatorio(true, false, true), "P_GRUPO=3");
        assertFalse(resumo.contains("class=\"nova\""));
    }
}
