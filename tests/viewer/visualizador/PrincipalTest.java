package visualizador;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.ByteArrayOutputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.stream.Stream;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.dados.Ambiente;

/** The whole viewer as the launcher starts it: what it prints, what it leaves, its exit status. */
class PrincipalTest {
    @TempDir
    Path home;

    private record Execucao(int status, String saida, String erros) {}

    private Execucao executar(Ambiente amb, List<String> args) {
        final PrintStream out = System.out, err = System.err;
        final ByteArrayOutputStream o = new ByteArrayOutputStream(), e = new ByteArrayOutputStream();
        System.setOut(new PrintStream(o, true, StandardCharsets.UTF_8));
        System.setErr(new PrintStream(e, true, StandardCharsets.UTF_8));
        try {
            final int status = Principal.executar(args.toArray(String[]::new), amb);
            return new Execucao(status, o.toString(StandardCharsets.UTF_8), e.toString(StandardCharsets.UTF_8));
        } finally {
            System.setOut(out);
            System.setErr(err);
        }
    }

    private Ambiente ambiente(String servico) throws Exception {
        final Ambiente base = BancoTeste.ambiente(home);
        final Map<String, String> env = new HashMap<>(base.variaveis());
        Files.createDirectories(home.resolve(".config"));
        Files.createDirectories(home.resolve("Documentos"));
        Files.writeString(home.resolve(".config/user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"$HOME/Documentos\"\n");
        if (servico != null) {
            Files.writeString(home.resolve("outro.conf"), servico);
            env.put("PGSERVICEFILE", home.resolve("outro.conf").toString());
        }
        return new Ambiente(env, home);
    }

    private static List<String> linha(String formato, String... parametros) {
        final List<String> l = new ArrayList<>(List.of(BancoTeste.SERVICO, BancoTeste.relatorio().toString(), formato, "N"));
        l.addAll(List.of(parametros));
        return l;
    }

    private long arquivos() throws Exception {
        try (Stream<Path> s = Files.list(home.resolve("Documentos"))) {
            return s.count();
        }
    }

    // Every failure: status 1, a message on standard error naming the cause, no file left behind.
    @ParameterizedTest(name = "{0}")
    @CsvSource(delimiter = '|', value = {
        "unknown service  | [Outro]\\nhost=x                           | PDF | P_EMP=1  | \"Zarvent\" não encontrado",
        "server down      | [Zarvent]\\nhost=127.0.0.1\\nport=1\\nuser=u | PDF | P_EMP=1  | Não foi possível conectar",
        "bad parameter    |                                            | XLS | P_EMP=1; | P_EMP",
        "unknown format   |                                            | DOC | P_EMP=1  | DOC",
        "missing design   |                                            | PDF | P_EMP=1  | não encontrado",
    })
    void falhas(String caso, String servico, String formato, String parametro, String mensagem) throws Exception {
        final Ambiente amb = ambiente(servico == null ? null : servico.replace("\\n", "\n"));
        final List<String> args = linha(formato, parametro);
        if (caso.startsWith("missing")) args.set(1, home.resolve("relatorios/nenhum").toString());
        final Execucao r = executar(amb, args);
        assertEquals(1, r.status(), caso);
        assertTrue(r.erros().contains(mensagem), r.erros());
        assertTrue(r.saida().isEmpty(), r.saida());
        assertEquals(0, arquivos());
    }

    /** A copy a killed viewer left in the documents folder goes at the next run, even one that writes nothing. */
    @org.junit.jupiter.api.Test
    void copiaDeExecucaoMortaSaiNaProxima() throws Exception {
        final Ambiente amb = ambiente("[Zarvent]\nhost=127.0.0.1\nport=1\nuser=u");
        final Process morto = new ProcessBuilder("true").start();
        final String marca = morto.pid() + "-" + morto.info().startInstant().orElseThrow().toEpochMilli();
        morto.waitFor();
        final Path copia = Files.writeString(home.resolve("Documentos")
                .resolve(".zv_relacao_produto_enderecamento-20261209-153000~" + marca + "~42.parcial"), "metade");
        assertEquals(1, executar(amb, linha("PDF", "P_MARCA=3")).status());
        assertTrue(Files.notExists(copia));
    }

    @ParameterizedTest
    @CsvSource({"PDF, pdf", "XLS, xls", "HTML, html", "CSV, csv"})
    void gravaNosDocumentosEImprimeOCaminho(String formato, String extensao) throws Exception {
        final Execucao r = executar(ambiente(null), linha(formato, "P_MARCA=3", "P_GRUPO=2", "P_ORDEM=1"));
        assertEquals(0, r.status(), r.erros());
        final Path arquivo = Path.of(r.saida().strip());
        assertEquals(home.resolve("Documentos"), arquivo.getParent());
        assertTrue(arquivo.getFileName().toString().matches("zv_relacao_produto_enderecamento-\\d{8}-\\d{6}\\." + extensao));
        assertTrue(Files.size(arquivo) > 1000);
    }

    /**
     * "Salvar como…" over an existing file: with the database down the user's file stays as it
     * was; otherwise it is replaced by the whole report, with the permissions of a new file.
     */
    @ParameterizedTest
    @CsvSource(delimiter = '|', value = {"[Zarvent]\\nhost=127.0.0.1\\nport=1\\nuser=u | antigo", " | novo"})
    void salvarComoNaoPerdeOArquivoDoUsuario(String servico, String esperado) throws Exception {
        final Ambiente amb = ambiente(servico == null ? null : servico.replace("\\n", "\n"));
        final Path meu = Files.writeString(home.resolve("meu.html"), "antigo");
        Files.setPosixFilePermissions(meu, PosixFilePermissions.fromString("rw-------"));
        final Path normal = Files.createFile(home.resolve("normal"));
        final var exportador = Principal.exportador(linha("VIS", "P_MARCA=3").toArray(String[]::new), amb);
        if (esperado.equals("antigo")) {
            assertThrows(ErroRelatorio.class, () -> exportador.exportar(Formato.HTML, meu));
            assertEquals("antigo", Files.readString(meu));
        } else {
            exportador.exportar(Formato.HTML, meu);
            assertTrue(Files.readString(meu).contains("<html"), "not the report");
            assertEquals(Files.getPosixFilePermissions(normal), Files.getPosixFilePermissions(meu));
        }
    }

    /**
     * "Salvar como…" PDF of pages 3-7: exactly those five pages of the whole report, as they are
     * there (footers "Página 3 de N" …; the moment of emission aside). A range past the last page
     * is refused and the user's file stays as it was.
     */
    @org.junit.jupiter.api.Test
    void pdfDeAlgumasPaginas() throws Exception {
        final var exportador = Principal.exportador(linha("VIS").toArray(String[]::new), ambiente(null));
        final Path inteiro = exportador.exportar(Formato.PDF, home.resolve("inteiro.pdf"));
        final Path recorte = exportador.exportar(Formato.PDF, home.resolve("recorte.pdf"),
                new visualizador.formatos.IntervaloPaginas(3, 7));
        final int total;
        try (var doc = org.apache.pdfbox.pdmodel.PDDocument.load(inteiro.toFile());
                var parte = org.apache.pdfbox.pdmodel.PDDocument.load(recorte.toFile())) {
            total = doc.getNumberOfPages();
            assertTrue(total > 7, "the demo report has " + total + " pages");
            assertEquals(5, parte.getNumberOfPages());
            for (int i = 0; i < 5; i++) {
                final String esperado = texto(doc, 3 + i);
                assertTrue(esperado.contains("Página " + (3 + i) + " de " + total), esperado);
                assertEquals(esperado, texto(parte, 1 + i), "page " + (1 + i) + " of the excerpt");
            }
        }
        final Path meu = Files.writeString(home.resolve("meu.pdf"), "antigo");
        final ErroRelatorio e = assertThrows(ErroRelatorio.class, () -> exportador.exportar(Formato.PDF, meu,
                new visualizador.formatos.IntervaloPaginas(total, total + 1)));
        assertTrue(e.getMessage().contains("tem " + total + " páginas"), e.getMessage());
        assertEquals("antigo", Files.readString(meu));
    }

    /** A page's text, the date and time of emission masked (the two runs differ there). */
    private static String texto(org.apache.pdfbox.pdmodel.PDDocument doc, int pagina) throws java.io.IOException {
        final var extrator = new org.apache.pdfbox.text.PDFTextStripper();
        extrator.setStartPage(pagina);
        extrator.setEndPage(pagina);
        return extrator.getText(doc).replaceAll("\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d", "DATA");
    }

    @org.junit.jupiter.api.Test
    void htmlGrandeDemaisERecusadoAntes() throws Exception {
        final Path relatorio = DesignForjado.escrever(Files.createDirectories(home.resolve("rel")), "FROM est AS e\n",
                "FROM est AS e CROSS JOIN generate_series(1, 20) AS vezes\n");
        final List<String> args = linha("HTML");
        args.set(1, relatorio.toString());
        final Execucao r = executar(ambiente(null), args);
        assertEquals(1, r.status(), r.erros());
        assertTrue(r.erros().contains("HTML") && r.erros().contains("Escolha PDF"), r.erros());
        assertEquals(0, arquivos());
    }

    /** "1, 2" typed in the launcher's company field, passed on the way the launcher passes it. */
    @org.junit.jupiter.api.Test
    void listaComEspacosDoLancador() throws Exception {
        final List<String> args = new ArrayList<>(List.of(ArgumentosTest.comoOLancador("P_EMP=1, 2 P_GRUPO=3 P_MARCA=3")));
        args.set(1, BancoTeste.relatorio().toString());
        args.set(2, "HTML");
        final Execucao r = executar(ambiente(null), args);
        assertEquals(0, r.status(), r.erros());
        final String html = Files.readString(Path.of(r.saida().strip()));
        // Grouped by company: both companies are there.
        assertTrue(html.contains("1 - ") && html.contains("2 - "), "companies 1 and 2");
        assertTrue(html.contains("1, 2") || html.contains("1,2"), "the filter line names both");
    }
}
