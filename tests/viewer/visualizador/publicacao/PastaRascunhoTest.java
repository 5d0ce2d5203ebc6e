package visualizador.publicacao;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.Map;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;
import visualizador.dados.Ambiente;

class PastaRascunhoTest {
    @TempDir
    Path runtime;

    private Ambiente ambiente() {
        return new Ambiente(Map.of("XDG_RUNTIME_DIR", runtime.toString()), runtime);
    }

    private Path comum() throws IOException {
        return runtime.resolve("zv-visualizador-" + Files.getAttribute(Path.of("/proc/self"), "unix:uid"));
    }

    /** A killed run's folder goes; a live process's stays; ours is private and removed when done. */
    @Test
    void privadaEDeixaSoOQueEstaVivo() throws Exception {
        final Path comum = Files.createDirectory(comum());
        final Process vivo = new ProcessBuilder("sleep", "60").start();
        try {
            final Path doVivo = Files.createDirectories(comum.resolve(PastaRascunho.marca(vivo.toHandle())).resolve("x"));
            final Process morto = new ProcessBuilder("true").start();
            final String marcaMorto = PastaRascunho.marca(morto.toHandle());
            morto.waitFor();
            Files.writeString(Files.createDirectories(comum.resolve(marcaMorto)).resolve("PDFBox1.tmp"), "x");
            // The same PID with another start time is another process: a reused PID does not keep it.
            final Path reusado = Files.createDirectory(comum.resolve(ProcessHandle.current().pid() + "-1"));

            final PastaRascunho p = PastaRascunho.criar(ambiente(), ProcessHandle.current());
            assertFalse(Files.exists(comum.resolve(marcaMorto)));
            assertFalse(Files.exists(reusado));
            assertTrue(Files.exists(doVivo));
            assertEquals("rwx------", PosixFilePermissions.toString(Files.getPosixFilePermissions(comum)));
            assertEquals("rwx------", PosixFilePermissions.toString(Files.getPosixFilePermissions(p.pasta())));
            final Path f = p.novoArquivo(".pdf");
            assertEquals(p.pasta(), f.getParent());
            p.remover();
            assertFalse(Files.exists(p.pasta()));
        } finally {
            vivo.destroy();
        }
    }

    /**
     * Once the folder has gone at exit, a report thread still running cannot make it again: a
     * removed folder is otherwise made anew by the next file (a temp cleaner's case).
     */
    @Test
    void encerradaNaoVoltaAoPedirArquivo() throws Exception {
        final PastaRascunho p = PastaRascunho.criar(ambiente(), ProcessHandle.current());
        p.remover();
        p.novoArquivo(".pdf");
        assertTrue(Files.isDirectory(p.pasta()));
        p.encerrar();
        assertThrows(IOException.class, () -> p.novoArquivo(".pdf"));
        assertFalse(Files.exists(p.pasta()));
    }

    /** A link put in the folder's place is not followed: the temp folder is used instead. */
    @Test
    void naoSegueUmLinkNoLugarDaPasta() throws Exception {
        final Path alheia = Files.createDirectory(runtime.resolve("alheia"));
        Files.createSymbolicLink(comum(), alheia);
        // Another process's folder: this process's own one in the temp folder stays untouched.
        final Process outro = new ProcessBuilder("sleep", "60").start();
        final PastaRascunho p = PastaRascunho.criar(ambiente(), outro.toHandle());
        try {
            assertFalse(p.pasta().startsWith(runtime), p.pasta().toString());
            try (var s = Files.list(alheia)) {
                assertEquals(0, s.count());
            }
        } finally {
            p.remover();
            outro.destroy();
        }
    }

    /** On Windows: under LOCALAPPDATA, else the profile's AppData\\Local; a dead run's folder goes there too. */
    @ParameterizedTest
    @ValueSource(booleans = {true, false})
    void noWindowsFicaNosDadosLocais(boolean comVariavel) throws Exception {
        final Path local = comVariavel ? runtime.resolve("local") : runtime.resolve("AppData").resolve("Local");
        final Process morto = new ProcessBuilder("true").start();
        final String marcaMorto = PastaRascunho.marca(morto.toHandle());
        morto.waitFor();
        final Path daMorta = Files.createDirectories(local.resolve("zv-visualizador").resolve(marcaMorto));
        final Ambiente amb = new Ambiente(comVariavel ? Map.of("LOCALAPPDATA", local.toString()) : Map.of(), runtime,
                Ambiente.Sistema.WINDOWS);
        final PastaRascunho p = PastaRascunho.criar(amb, ProcessHandle.current());
        assertEquals(local.resolve("zv-visualizador").resolve(PastaRascunho.marca(ProcessHandle.current())), p.pasta());
        assertFalse(Files.exists(daMorta));
        PastaRascunho.apagarArvore(p.pasta());
        assertEquals(p.pasta(), p.novoArquivo(".pdf").getParent());
        p.remover();
        assertFalse(Files.exists(p.pasta()));
    }
}
