package visualizador.publicacao;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.io.ByteArrayOutputStream;
import java.io.File;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.FileAlreadyExistsException;
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
import org.junit.jupiter.params.provider.ValueSource;
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
        assertEquals(home.resolve(esperada), new AreaTrabalhoPosix(amb).pastaDocumentos());
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
        if (!pasta.startsWith("/sys")) assertTrue(e.getMessage().contains("não aceita gravação"), e.getMessage());
    }

    /**
     * Documents as a bind mount of the same disk: equal device numbers, yet a link or rename across
     * the mounts gives EXDEV. Read-write, the report arrives whole; read-only, the user is told so.
     * Run in a mount namespace of its own (root, or skipped where mounting is not permitted).
     */
    @ParameterizedTest
    @ValueSource(strings = {"rw", "ro"})
    void pastaMontadaDoMesmoDisco(String modo) throws Exception {
        assumeTrue(executar(List.of("unshare", "-m", "--propagation", "private", "true")).status == 0,
                "sem permissão para criar um espaço de montagem (unshare -m)");
        final Path real = Files.createDirectories(home.resolve("real"));
        final Path docs = Files.createDirectories(home.resolve("Documentos"));
        Files.writeString(Files.createDirectories(home.resolve(".config")).resolve("user-dirs.dirs"),
                "XDG_DOCUMENTS_DIR=\"$HOME/Documentos\"\n");
        final Path rascunho = rascunho(home.resolve("rascunho"), "relatório");
        final String montar = "mount --bind \"$1\" \"$2\" || exit 77\n"
                + (modo.equals("ro") ? "mount -o remount,bind,ro \"$2\" || exit 77\n" : "") + "shift 2\nexec \"$@\"";
        final Saida r = executar(List.of("unshare", "-m", "--propagation", "private", "sh", "-c", montar, "sh",
                real.toString(), docs.toString(), Path.of(System.getProperty("java.home"), "bin", "java").toString(),
                "-cp", origem(PublicaNaPasta.class) + File.pathSeparator + origem(ArquivoSaida.class), PublicaNaPasta.class.getName(), home.toString(),
                rascunho.toString()));
        assumeTrue(r.status != 77, "sem permissão para montar: " + r.texto);
        try (Stream<Path> s = Files.list(real)) {
            final List<Path> arquivos = s.toList();
            if (modo.equals("rw")) {
                assertEquals(0, r.status, r.texto);
                assertEquals(docs.resolve("r-20261209-153000.pdf").toString(), r.texto.strip());
                assertEquals(List.of(real.resolve("r-20261209-153000.pdf")), arquivos);
                assertEquals("relatório", Files.readString(arquivos.get(0)));
            } else {
                assertEquals(3, r.status, r.texto);
                assertTrue(r.texto.startsWith("A pasta " + docs + " não aceita gravação"), r.texto);
                assertEquals(List.of(), arquivos);
            }
        }
        assertFalse(Files.exists(rascunho));
    }

    /** The jar or folder a class was loaded from (the tests run under the console launcher's own class path). */
    private static String origem(Class<?> c) throws Exception {
        return Path.of(c.getProtectionDomain().getCodeSource().getLocation().toURI()).toString();
    }

    private record Saida(int status, String texto) {}

    private static Saida executar(List<String> comando) throws Exception {
        final Process p = new ProcessBuilder(comando).redirectErrorStream(true).start();
        final String texto = new String(p.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        return new Saida(p.waitFor(), texto);
    }

    /** A killed run's copy goes; a live viewer's copy, a look-alike of the user's and other files stay. */
    @Test
    void limpaSoAsCopiasDeExecucoesMortas() throws Exception {
        final Process morto = new ProcessBuilder("true").start();
        final String marcaMorto = PastaRascunho.marca(morto.toHandle());
        morto.waitFor();
        final Process vivo = new ProcessBuilder("sleep", "60").start();
        try {
            final Path docs = home;
            final Path daMorta = Files.writeString(docs.resolve(".r-20261209-153000~" + marcaMorto + "~123.parcial"), "x");
            final List<Path> ficam = List.of(
                    Files.writeString(docs.resolve(".r-20261209-153000~" + PastaRascunho.marca(vivo.toHandle()) + "~9.parcial"), "x"),
                    Files.writeString(docs.resolve(".minhas~notas~1.parcial"), "x"),
                    Files.writeString(docs.resolve("r~" + marcaMorto + "~123.parcial"), "x"),
                    Files.createDirectory(docs.resolve(".d~" + marcaMorto + "~1.parcial")));
            ArquivoSaida.limparCopiasMortas(new Ambiente(Map.of(), home));
            assertFalse(Files.exists(daMorta));
            for (Path p : ficam) assertTrue(Files.exists(p), p.toString());
        } finally {
            vivo.destroy();
        }
    }

    /**
     * The Windows rules, picked by the environment: "Documents" in the profile (else the profile),
     * a rename that never takes a name in use, and a failed opening that says where the file is.
     */
    @ParameterizedTest
    @ValueSource(booleans = {true, false})
    void regrasDoWindows(boolean temDocuments) throws Exception {
        final Path docs = temDocuments ? Files.createDirectory(home.resolve("Documents")) : home;
        final Ambiente amb = new Ambiente(Map.of(), home, Ambiente.Sistema.WINDOWS);
        final Path publicado = ArquivoSaida.publicar(rascunho(home.resolve("rascunho"), "um"), amb, "r", Formato.HTML,
                QUANDO);
        assertEquals(docs.resolve("r-20261209-153000.html"), publicado);

        final AreaTrabalhoWindows area = new AreaTrabalhoWindows(amb, a -> {
            throw new java.io.IOException("sem programa");
        });
        final Path outro = rascunho(docs, "dois");
        assertThrows(FileAlreadyExistsException.class, () -> area.renomearSemSubstituir(outro, publicado));
        assertEquals("um", Files.readString(publicado));
        final ByteArrayOutputStream erros = new ByteArrayOutputStream();
        final String aviso = area.abrir(publicado, new PrintStream(erros, true, StandardCharsets.UTF_8));
        assertTrue(aviso.contains("sem programa") && aviso.endsWith("o arquivo está em " + publicado), aviso);
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
            new AreaTrabalhoPosix(new Ambiente(Map.of(), home), comando).abrir(arquivo,
                    new PrintStream(erros, true, StandardCharsets.UTF_8));
            final String erro = erros.toString(StandardCharsets.UTF_8);
            assertEquals(status.equals("0") ? 0 : 1, erro.lines().count(), erro);
            assertTrue(status.equals("0") || erro.contains("o arquivo está em " + arquivo), erro);
        }
        assertEquals(arquivo.toString(), Files.readString(registro));
        assertTrue(Files.exists(arquivo));
    }
}
