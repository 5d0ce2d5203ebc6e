package visualizador.publicacao;

import java.io.IOException;
import java.io.OutputStream;
import java.nio.file.AtomicMoveNotSupportedException;
import java.nio.file.DirectoryStream;
import java.nio.file.FileAlreadyExistsException;
import java.nio.file.FileSystemException;
import java.nio.file.Files;
import java.nio.file.LinkOption;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.nio.file.StandardOpenOption;
import java.time.LocalDateTime;
import java.time.format.DateTimeFormatter;
import java.util.regex.Pattern;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.dados.Ambiente;

/** Where a written report goes (the user's documents folder) and how it is opened afterwards. */
public final class ArquivoSaida {
    private static final DateTimeFormatter CARIMBO = DateTimeFormatter.ofPattern("uuuuMMdd-HHmmss");
    private static final int MAX_TENTATIVAS = 1000;
    private static final String PARCIAL = ".parcial";
    /** ".NAME~PID-START~NANOS.parcial": a copy on its way into a folder, and the process making it. */
    private static final Pattern COPIA = Pattern.compile("\\..*~(\\d+-\\d+)~\\d+\\.parcial");

    private ArquivoSaida() {}

    /**
     * Puts the finished report {@code rascunho} in the documents folder as
     * "nome-yyyyMMdd-HHmmss.ext", "-2", "-3"... added when the name is taken. A hard link makes the
     * name appear at once with the whole file and fails on any existing name, link or not: nothing
     * is ever replaced nor followed. The scratch is gone afterwards.
     */
    public static Path publicar(Path rascunho, Ambiente amb, String nome, Formato formato, LocalDateTime quando)
            throws ErroRelatorio {
        return publicar(rascunho, AreaTrabalho.de(amb), nome, formato, quando);
    }

    static Path publicar(Path rascunho, AreaTrabalho area, String nome, Formato formato, LocalDateTime quando)
            throws ErroRelatorio {
        final Path pasta = area.pastaDocumentos();
        final String base = nome + "-" + CARIMBO.format(quando);
        // A spreadsheet too long for .xls was written as .xlsx: the name follows the file.
        final String extensao = formato == Formato.XLS && Formato.xlsx(rascunho) ? "xlsx" : formato.extensao();
        Path vizinho = null;
        try {
            int n = 1;
            while (n <= MAX_TENTATIVAS) {
                final Path arquivo = pasta.resolve(base + (n == 1 ? "" : "-" + n) + "." + extensao);
                try {
                    Files.createLink(arquivo, vizinho != null ? vizinho : rascunho);
                    return arquivo;
                } catch (FileAlreadyExistsException e) {
                    n++;
                } catch (FileSystemException | UnsupportedOperationException e) {
                    if (vizinho == null) {
                        // The scratch may be on another mount (EXDEV, a bind mount of the same disk
                        // included): brought into the folder first, and this name tried again.
                        vizinho = trazerParaAPasta(rascunho, pasta, base);
                        continue;
                    }
                    // No hard links in this folder (FAT, some network shares): a rename instead.
                    try {
                        area.renomearSemSubstituir(vizinho, arquivo);
                        return arquivo;
                    } catch (FileAlreadyExistsException ja) {
                        n++;
                    }
                }
            }
        } catch (IOException e) {
            throw falha(pasta, e);
        } finally {
            apagar(vizinho);
            apagar(rascunho);
        }
        throw new ErroRelatorio("Há arquivos demais chamados " + base + " na pasta " + pasta
                + ". Apague ou mova alguns e gere o relatório de novo.");
    }

    /**
     * The scratch under a hidden name in {@code pasta}: renamed when the folder is on the same
     * mount, else copied (made exclusively; removed when the process ends, and a killed run's copy
     * by the next run).
     */
    private static Path trazerParaAPasta(Path rascunho, Path pasta, String base) throws IOException {
        final Path destino = pasta.resolve("." + base + "~" + PastaRascunho.marca(ProcessHandle.current()) + "~"
                + System.nanoTime() + PARCIAL);
        PastaRascunho.apagarAoSair(destino);
        try {
            Files.move(rascunho, destino, StandardCopyOption.ATOMIC_MOVE);
            return destino;
        } catch (AtomicMoveNotSupportedException e) {
            // another mount: copied below
        }
        try (OutputStream out = Files.newOutputStream(destino, StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE,
                LinkOption.NOFOLLOW_LINKS)) {
            Files.copy(rascunho, out);
        } catch (IOException | RuntimeException e) {
            apagar(destino);
            throw e;
        }
        return destino;
    }

    /** What went wrong, in the user's terms: a folder that refuses writing, a full disk, else the system's reason. */
    private static ErroRelatorio falha(Path pasta, IOException e) {
        if (!Files.isWritable(pasta))
            return new ErroRelatorio("A pasta " + pasta + " não aceita gravação (é somente leitura ou este usuário não"
                    + " tem permissão): o relatório não foi gravado. Libere a gravação nessa pasta ou escolha outra"
                    + " pasta de documentos.", e);
        final String motivo = e instanceof FileSystemException f && f.getReason() != null ? f.getReason()
                : e.getMessage();
        return new ErroRelatorio("Não foi possível gravar o relatório na pasta " + pasta + " (" + motivo
                + "). Verifique se há espaço livre e se a pasta está acessível, e gere o relatório de novo.", e);
    }

    private static void apagar(Path p) {
        if (p == null) return;
        try {
            Files.deleteIfExists(p);
        } catch (IOException e) {
            // the scratch folder goes when the process ends; a copy, on the next run
        }
    }

    /**
     * Removes the copies that killed runs left in the documents folder. Only this program's
     * (by their name) and only those whose process is gone: another viewer may be copying now.
     */
    public static void limparCopiasMortas(Ambiente amb) {
        final Path pasta = AreaTrabalho.de(amb).pastaDocumentos();
        try (DirectoryStream<Path> d = Files.newDirectoryStream(pasta, ".*" + PARCIAL)) {
            for (Path p : d) {
                final var m = COPIA.matcher(p.getFileName().toString());
                if (m.matches() && Files.isRegularFile(p, LinkOption.NOFOLLOW_LINKS) && !PastaRascunho.vivo(m.group(1)))
                    Files.deleteIfExists(p);
            }
        } catch (IOException | RuntimeException e) {
            // Only housekeeping: never a reason not to run the report.
        }
    }

    /**
     * Replaces (or creates) {@code destino} with the finished {@code rascunho} in one rename: the
     * file the user chose is never missing nor half written.
     */
    public static void substituir(Path rascunho, Path destino) throws IOException {
        final Path alvo = destino.toAbsolutePath();
        try {
            Files.move(rascunho, alvo, StandardCopyOption.ATOMIC_MOVE);
            return;
        } catch (AtomicMoveNotSupportedException e) {
            // another mount: a copy beside the file first, renamed over it once complete
        }
        final Path copia = trazerParaAPasta(rascunho, alvo.getParent(), alvo.getFileName().toString());
        try {
            Files.move(copia, alvo, StandardCopyOption.ATOMIC_MOVE);
        } finally {
            Files.deleteIfExists(copia);
            Files.deleteIfExists(rascunho);
        }
    }

    /** Opens the file with the desktop's default application; see {@link AreaTrabalho#abrir}. */
    public static String abrir(Path arquivo, Ambiente amb) {
        return AreaTrabalho.de(amb).abrir(arquivo, System.err);
    }
}
