package visualizador.saida;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.io.ByteArrayOutputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.time.LocalDateTime;
import java.util.List;
import java.util.Map;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.dados.Ambiente;

class ArquivoSaidaTest {
    private static final LocalDateTime QUANDO = LocalDateTime.of(2026, 12, 9, 15, 30, 0);

    @TempDir
    Path home;

    /** user-dirs.dirs in .config or in XDG_CONFIG_HOME=cfg; the folder expected, relative to home. */
    @ParameterizedTest(name = "[{0}] {1} -> \"{2}\"")
    @CsvSource(delimiter = '|', quoteCharacter = '`', value = {
        "        | XDG_DOCUMENTS_DIR=\"$HOME/Documentos\"      | Documentos",
        "cfg     | # x\\n  XDG_DOCUMENTS_DIR=\"$HOME/Meus docs\" | Meus docs",
        ".config | XDG_DOCUMENTS_DIR=\"ABS/Documentos\"        | Documentos",
        "        | XDG_DOCUMENTS_DIR=\"$HOME/NaoExiste\"      | ``",
        "        | XDG_DOCUMENTS_DIR=Documentos              | ``",
        "cfg     |                                           | ``",
    })
    void pastaDeDocumentos(String cfg, String dirs, String esperada) throws Exception {
        Files.createDirectories(home.resolve("Documentos"));
        Files.createDirectories(home.resolve("Meus docs"));
        final Path config = Files.createDirectories(home.resolve(cfg == null ? ".config" : cfg));
        if (dirs != null) Files.writeString(config.resolve("user-dirs.dirs"), dirs.replace("\\n", "\n").replace("ABS", home.toString()));
        final Ambiente amb = new Ambiente(cfg == null ? Map.of() : Map.of("XDG_CONFIG_HOME", config.toString()), home);
        assertEquals(home.resolve(esperada), ArquivoSaida.pastaDocumentos(amb));
    }

    private Path rascunho(Path pasta, String conteudo) throws Exception {
        return Files.writeString(Files.createDirectories(pasta).resolve("r" + System.nanoTime()), conteudo);
    }

    /**
     * What already holds the first name (nothing, a file, a link to a file elsewhere, a dangling
     * link) is left alone; the report gets the first free name, whole, with the usual permissions.
     * The scratch sits beside the documents (one file system) or on /dev/shm (another: a copy).
     */
    @ParameterizedTest(name = "{0} {1}")
    @CsvSource({"nada, mesmo", "arquivo, mesmo", "link, mesmo", "linkQuebrado, mesmo", "nada, outro",
        "link, outro"})
    void publicaSemSubstituirNemSeguirLinks(String ocupante, String sistema) throws Exception {
        final Path shm = Path.of("/dev/shm");
        final boolean outro = sistema.equals("outro");
        if (outro) assumeTrue(Files.isWritable(shm) && !Files.getAttribute(shm, "unix:dev").equals(Files.getAttribute(home, "unix:dev")));
        final String nome = "zv_relacao_produto_enderecamento";
        final Path primeiro = home.resolve(nome + "-20261209-153000.pdf");
        final Path vitima = Files.writeString(home.resolve("vitima"), "não mexer");
        switch (ocupante) {
            case "arquivo" -> Files.writeString(primeiro, "anterior");
            case "link" -> Files.createSymbolicLink(primeiro, vitima);
            case "linkQuebrado" -> Files.createSymbolicLink(primeiro, home.resolve("nao-existe"));
            default -> { }
        }
        final Path rascunho = rascunho(outro ? Files.createTempDirectory(shm, "zvteste") : home.resolve("rascunho"), "relatório");
        final Path normal = Files.createFile(home.resolve("normal"));
        final Path publicado = ArquivoSaida.publicar(rascunho, new Ambiente(Map.of(), home), nome, Formato.PDF, QUANDO);
        assertEquals(ocupante.equals("nada") ? primeiro : home.resolve(nome + "-20261209-153000-2.pdf"), publicado);
        assertEquals("relatório", Files.readString(publicado));
        assertEquals(Files.getPosixFilePermissions(normal), Files.getPosixFilePermissions(publicado));
        assertEquals("não mexer", Files.readString(vitima));
        assertFalse(Files.exists(rascunho));
        if (outro) PastaRascunho.apagarArvore(rascunho.getParent());
        try (Stream<Path> s = Files.list(home)) {
            assertEquals(List.of(), s.filter(p -> p.getFileName().toString().startsWith(".")).toList());
        }
    }

    @Test
    void substituiOArquivoDoUsuarioSoComONovoCompleto() throws Exception {
        final Path destino = Files.writeString(home.resolve("meu.pdf"), "antigo");
        Files.setPosixFilePermissions(destino, PosixFilePermissions.fromString("rw-------"));
        final Path rascunho = rascunho(home.resolve("rascunho"), "novo");
        final Path normal = Files.createFile(home.resolve("normal"));
        ArquivoSaida.substituir(rascunho, destino);
        assertEquals("novo", Files.readString(destino));
        assertEquals(Files.getPosixFilePermissions(normal), Files.getPosixFilePermissions(destino));
        assertFalse(Files.exists(rascunho));
    }

    @Test
    void pastaSemPermissaoEErroQueANomeia() throws Exception {
        Path pasta = Files.createDirectories(home.resolve("Documentos"));
        Files.setPosixFilePermissions(pasta, PosixFilePermissions.fromString("r-xr-xr-x"));
        if (Files.isWritable(pasta)) pasta = Path.of("/sys"); // root writes anywhere but in sysfs
        Files.writeString(Files.createDirectories(home.resolve(".config")).resolve("user-dirs.dirs"),
                "XDG_DOCUMENTS_DIR=\"" + pasta + "\"\n");
        final Path rascunho = rascunho(home.resolve("rascunho"), "x");
        final ErroRelatorio e = assertThrows(ErroRelatorio.class,
                () -> ArquivoSaida.publicar(rascunho, new Ambiente(Map.of(), home), "r", Formato.HTML, QUANDO));
        assertTrue(e.getMessage().contains("pasta " + pasta), e.getMessage());
    }

    @Test
    void abreSemShellEAvisaQuandoNaoConsegue() throws Exception {
        final Path arquivo = Files.writeString(home.resolve("r $(touch x);'.pdf"), "x");
        final Path registro = home.resolve("argumento");
        final Path script = Files.writeString(home.resolve("abrir.sh"),
                "#!/bin/sh\nprintf '%s' \"$1\" > '" + registro + "'\nexit \"$ABRIR_STATUS\"\n");
        Files.setPosixFilePermissions(script, PosixFilePermissions.fromString("rwx------"));
        for (String status : List.of("0", "3", "nao-existe")) {
            final ByteArrayOutputStream erros = new ByteArrayOutputStream();
            final List<String> comando = status.equals("nao-existe") ? List.of(home.resolve(status).toString())
                    : List.of("env", "ABRIR_STATUS=" + status, script.toString());
            ArquivoSaida.abrir(arquivo, comando, new PrintStream(erros, true, StandardCharsets.UTF_8));
            final String erro = erros.toString(StandardCharsets.UTF_8);
            assertEquals(status.equals("0") ? 0 : 1, erro.lines().count(), erro);
            assertTrue(status.equals("0") || erro.contains("o arquivo está em " + arquivo), erro);
        }
        assertEquals(arquivo.toString(), Files.readString(registro));
        assertTrue(Files.exists(arquivo));
    }
}
