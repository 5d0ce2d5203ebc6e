package visualizador.publicacao;

import java.io.IOException;
import java.nio.file.DirectoryStream;
import java.nio.file.FileAlreadyExistsException;
import java.nio.file.Files;
import java.nio.file.LinkOption;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.PosixFilePermissions;
import java.security.SecureRandom;
import java.util.Comparator;
import java.util.Optional;
import java.util.Set;
import java.util.concurrent.ConcurrentHashMap;
import java.util.stream.Stream;
import visualizador.dados.Ambiente;

/**
 * This process's scratch folder: "zv-visualizador-UID/PID-START" under XDG_RUNTIME_DIR (else the
 * temp folder), both mode 0700; on Windows "zv-visualizador\PID-START" in the user's local
 * application data, private to the user by its access list. Removed when the process ends (normally or on SIGTERM, SIGINT,
 * SIGHUP); what a killed process left is removed by the next run, once its PID is gone.
 */
public final class PastaRascunho {
    private static final SecureRandom ALEATORIO = new SecureRandom();
    private static final LinkOption[] SEM_LINK = {LinkOption.NOFOLLOW_LINKS};
    private static final String ENCERRANDO = "O visualizador está sendo encerrado.";
    private static final Set<Path> AO_SAIR = ConcurrentHashMap.newKeySet();
    private static volatile PastaRascunho doProcesso;
    private static boolean encerrando; // guarded by the class: no folder is made once the process ends

    static {
        Runtime.getRuntime().addShutdownHook(new Thread(PastaRascunho::limparAoSair, "rascunho-limpeza"));
    }

    private final Path pasta;
    private final boolean windows;
    // Set when the folder goes for good: a report thread still running while the process ends
    // must not make it again (guarded by this).
    private boolean encerrada;

    private PastaRascunho(Path pasta, boolean windows) {
        this.pasta = pasta;
        this.windows = windows;
    }

    /** The process's folder, made (and the leftovers of dead runs removed) on first use. */
    public static synchronized PastaRascunho doProcesso() throws IOException {
        if (encerrando) throw new IOException(ENCERRANDO);
        if (doProcesso == null) {
            doProcesso = criar(Ambiente.doProcesso(), ProcessHandle.current());
        }
        return doProcesso;
    }

    static PastaRascunho criar(Ambiente amb, ProcessHandle processo) throws IOException {
        if (amb.windows()) {
            final String local = amb.variavel("LOCALAPPDATA");
            final Path base = local != null && Path.of(local).isAbsolute() ? Path.of(local)
                    : amb.home().resolve("AppData").resolve("Local");
            final Path comum = pastaWindows(base.resolve("zv-visualizador"));
            limparMortos(comum);
            return new PastaRascunho(pastaWindows(comum.resolve(marca(processo))), true);
        }
        final String runtime = amb.variavel("XDG_RUNTIME_DIR");
        if (runtime != null && Path.of(runtime).isAbsolute() && Files.isDirectory(Path.of(runtime))) {
            try {
                return criar(Path.of(runtime), processo);
            } catch (IOException e) {
                // a runtime folder we cannot use: the temp folder will do
            }
        }
        return criar(Path.of(System.getProperty("java.io.tmpdir")), processo);
    }

    private static PastaRascunho criar(Path base, ProcessHandle processo) throws IOException {
        final Path comum = privada(base.resolve("zv-visualizador-" + uid()));
        limparMortos(comum);
        return new PastaRascunho(privada(comum.resolve(marca(processo))), false);
    }

    /** Made if missing (with its parents: a fresh profile may lack them); never a link or junction. */
    private static Path pastaWindows(Path p) throws IOException {
        if (!Files.isDirectory(p, SEM_LINK)) Files.createDirectories(p);
        if (!Files.isDirectory(p, SEM_LINK)) throw new IOException("a pasta de rascunho " + p + " não é uma pasta");
        return p;
    }

    /** Creates the folder 0700, or accepts an existing one only if it is ours and no link. */
    private static Path privada(Path p) throws IOException {
        try {
            Files.createDirectory(p, PosixFilePermissions.asFileAttribute(PosixFilePermissions.fromString("rwx------")));
        } catch (FileAlreadyExistsException e) {
            if (!Files.isDirectory(p, SEM_LINK) || !Integer.valueOf(uid()).equals(Files.getAttribute(p, "unix:uid", SEM_LINK)))
                throw new IOException("a pasta de rascunho " + p + " não é uma pasta deste usuário");
        }
        Files.setPosixFilePermissions(p, PosixFilePermissions.fromString("rwx------"));
        return p;
    }

    private static int uid() throws IOException {
        return (Integer) Files.getAttribute(Path.of("/proc/self"), "unix:uid");
    }

    /** "PID-START": a PID alone may be reused by another process after a crash. */
    static String marca(ProcessHandle p) {
        return p.pid() + "-" + p.info().startInstant().map(i -> i.toEpochMilli()).orElse(0L);
    }

    static boolean vivo(String marca) {
        final int traco = marca.indexOf('-');
        if (traco <= 0) return false;
        final Optional<ProcessHandle> p;
        try {
            p = ProcessHandle.of(Long.parseLong(marca.substring(0, traco)));
        } catch (NumberFormatException e) {
            return false;
        }
        return p.isPresent() && p.get().isAlive() && marca(p.get()).equals(marca);
    }

    private static void limparMortos(Path comum) throws IOException {
        try (DirectoryStream<Path> d = Files.newDirectoryStream(comum)) {
            for (Path p : d)
                if (!vivo(p.getFileName().toString())) apagarArvore(p);
        }
    }

    public Path pasta() {
        return pasta;
    }

    /**
     * A new empty file here, created exclusively (never through a link), with the usual
     * permissions, so that it can be published as it is.
     */
    public synchronized Path novoArquivo(String sufixo) throws IOException {
        if (encerrada) throw new IOException(ENCERRANDO);
        while (true) {
            final Path p = pasta.resolve(Long.toUnsignedString(ALEATORIO.nextLong(), 36) + sufixo);
            try {
                Files.newByteChannel(p, StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE,
                        LinkOption.NOFOLLOW_LINKS).close();
                return p;
            } catch (FileAlreadyExistsException e) {
                // drawn twice: draw again
            } catch (NoSuchFileException e) {
                // removed under us (a temp cleaner): made again
                if (windows) {
                    pastaWindows(pasta);
                } else {
                    privada(pasta.getParent());
                    privada(pasta);
                }
            }
        }
    }

    /** A file outside the folder that the process removes when it ends, unless removed before. */
    static void apagarAoSair(Path arquivo) {
        AO_SAIR.add(arquivo);
    }

    private static void limparAoSair() {
        for (Path p : AO_SAIR) {
            try {
                Files.deleteIfExists(p);
            } catch (IOException e) {
                // best effort while the process ends
            }
        }
        final PastaRascunho p;
        synchronized (PastaRascunho.class) {
            encerrando = true;
            p = doProcesso;
        }
        if (p != null) p.encerrar();
    }

    /** Removes the folder for good: later requests for a file here fail. */
    synchronized void encerrar() {
        encerrada = true;
        remover();
    }

    /**
     * Removes the folder and its files. While the process ends, the report's thread may still
     * add a file: retried for up to a second.
     */
    public void remover() {
        for (int i = 0; i < 100 && Files.exists(pasta, SEM_LINK); i++) {
            try {
                apagarArvore(pasta);
            } catch (IOException e) {
                try {
                    Thread.sleep(10);
                } catch (InterruptedException ie) {
                    Thread.currentThread().interrupt();
                    return;
                }
            }
        }
    }

    static void apagarArvore(Path raiz) throws IOException {
        try (Stream<Path> s = Files.walk(raiz)) {
            for (Path p : s.sorted(Comparator.reverseOrder()).toList()) {
                try {
                    Files.deleteIfExists(p);
                } catch (NoSuchFileException e) {
                    // already gone
                }
            }
        } catch (NoSuchFileException e) {
            // already gone
        }
    }
}
