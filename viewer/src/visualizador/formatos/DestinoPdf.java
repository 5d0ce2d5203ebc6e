package visualizador.formatos;

import java.io.IOException;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Iterator;
import org.apache.pdfbox.cos.COSArray;
import org.apache.pdfbox.cos.COSBase;
import org.apache.pdfbox.cos.COSDictionary;
import org.apache.pdfbox.cos.COSName;
import org.apache.pdfbox.io.MemoryUsageSetting;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDPage;
import org.apache.pdfbox.pdmodel.PDResources;
import org.apache.pdfbox.pdmodel.common.PDRectangle;
import org.apache.pdfbox.pdmodel.graphics.form.PDFormXObject;
import visualizador.dados.Progresso;
import visualizador.pagina.Cabecalho;
import visualizador.pagina.Destino;
import visualizador.pagina.Diagramacao;
import visualizador.pagina.Folhas;
import visualizador.pagina.Pintura;
import visualizador.pagina.Totais;
import visualizador.pagina.TrechosDaPagina;

/**
 * The report's pages ({@link Diagramacao}) as a PDF. A file gets each page as it fills and is
 * complete only once {@link #close()} follows {@link #fim}; the preview's document keeps page
 * contents in a scratch file, so memory holds only the page objects. Each page's shared part
 * (header, column titles) is stored once, as a form every page paints.
 */
public final class DestinoPdf implements Destino {
    static final Path FONTE = ArquivosDeFonte.achar("dejavu/DejaVuSans.ttf");
    static final Path FONTE_NEGRITO = ArquivosDeFonte.achar("dejavu/DejaVuSans-Bold.ttf");

    private static final float LARGURA = Diagramacao.LARGURA;
    private static final float ALTURA = Diagramacao.ALTURA;

    private final Path arquivo;
    private final Progresso progresso;
    private final PDDocument doc;
    private final FontePdf normal;
    private final FontePdf negrito;
    private final PDResources recursos = new PDResources();
    /** The fonts of the header forms: the same for every form, fallback fonts added as loaded. */
    private final PDResources fontesDosFormularios = new PDResources();
    private final ReservasPdf reservas;
    private final COSArray caixa = new PDRectangle(LARGURA, ALTURA).getCOSArray(); // shared by every page
    private final PaginaPdf conteudo = new PaginaPdf();
    private final RascunhoPdf rascunho; // the preview's page contents
    private final IndiceTexto indice; // the preview's page texts, for its search
    private final ArquivoPdf arquivoPdf; // the file's writer
    private final Diagramacao<FontePdf> diagramacao;

    // The frames' painting operators ("/C1 Do"), by number (1 the first page's).
    private final byte[][] molduras = new byte[3][];
    private TrechosDaPagina textoDaPagina; // of the page being ended, for the preview's search

    private PDPage pagina; // the preview's page being laid out
    private boolean aberta; // a page is being laid out
    private Iterator<PDPage> numerando; // the preview's pages, as their footers are added
    private boolean concluido;
    private boolean fechado;

    // The preview's hook: set, nothing is saved, and finished pages are handed over as they come.
    private PaginasProntas ouvinte;

    /**
     * Told of a preview's pages as they finish. Whoever reads the document does so only while
     * holding the document's own monitor, as the layout does when it adds or finishes a page.
     */
    public interface PaginasProntas {
        /** Pages 0 … {@code prontas} − 1 are finished and may be drawn. */
        void prontas(int prontas);

        /** The report ended: all {@code total} pages now carry "Página N de M". */
        void numeradas(int total);
    }

    /**
     * A PDF laid out for the preview: never saved, and its document stays open after {@link #close()}
     * until {@link #liberar()}, so the pages can be shown for as long as the window is open.
     */
    public static DestinoPdf paraVisualizar(Progresso progresso, PaginasProntas ouvinte) throws IOException {
        final DestinoPdf d = new DestinoPdf(null, progresso);
        d.ouvinte = ouvinte;
        return d;
    }

    /** The document being built (see {@link PaginasProntas} on reading it). */
    public PDDocument documento() {
        return doc;
    }

    /** The text of the preview's finished pages, for its search; null for a file. */
    public IndiceTexto indiceDeTexto() {
        return indice;
    }

    /** Closes the preview's document and its scratch. */
    public void liberar() throws IOException {
        synchronized (doc) {
            fechado = true;
            try (rascunho; indice) {
                doc.close();
            }
        }
    }

    public DestinoPdf(Path arquivo, Progresso progresso) throws IOException {
        this.arquivo = arquivo;
        this.progresso = progresso;
        // The document holds only the fonts, the header forms and small streams (page contents go
        // to our own scratch or straight into the file): in memory, nothing of it can outlive a
        // process that dies without running its shutdown hooks (its X display gone, say).
        doc = new PDDocument(MemoryUsageSetting.setupMainMemoryOnly());
        try {
            reservas = new ReservasPdf(doc, ArquivosDeFonte.reservas(), this::registrar);
            normal = new FontePdf(doc, FONTE, "F1", arquivo != null, reservas);
            negrito = new FontePdf(doc, FONTE_NEGRITO, "F2", arquivo != null, reservas);
            rascunho = arquivo == null ? new RascunhoPdf() : null;
            indice = arquivo == null ? new IndiceTexto() : null;
            arquivoPdf = arquivo == null ? null : new ArquivoPdf(arquivo, caixa);
        } catch (IOException | RuntimeException e) {
            doc.close();
            throw e;
        }
        registrar(normal);
        registrar(negrito);
        diagramacao = new Diagramacao<>(new Paginas());
    }

    /** A font the pages and the header forms may use (the fallback fonts as they are loaded). */
    private void registrar(FontePdf f) {
        recursos.put(COSName.getPDFName(f.nome), f.pd);
        fontesDosFormularios.put(COSName.getPDFName(f.nome), f.pd);
    }

    @Override
    public void inicio(Cabecalho cabecalho) throws IOException {
        diagramacao.inicio(cabecalho);
    }

    /** Its columns are sized by what they will hold, when the header says. */
    @Override
    public boolean medeColunas() {
        return true;
    }

    @Override
    public void inicioGrupo(String titulo) {
        diagramacao.inicioGrupo(titulo);
    }

    @Override
    public void linha(Object[] valores) throws IOException {
        diagramacao.linha(valores);
    }

    @Override
    public void fimGrupo(String titulo, Totais totais) throws IOException {
        diagramacao.fimGrupo(titulo, totais);
    }

    @Override
    public void fim(Totais totais) throws IOException {
        diagramacao.fim(totais);
        concluido = true;
        if (ouvinte != null) ouvinte.numeradas(diagramacao.paginas());
    }

    /** Saves the file when the report was completed; otherwise leaves none behind. */
    @Override
    public void close() throws IOException {
        if (fechado || ouvinte != null) return;
        fechado = true;
        try (doc; arquivoPdf) {
            if (concluido) {
                // The fonts are subset to the characters the pages used.
                normal.pd.subset();
                negrito.pd.subset();
                for (FontePdf f : reservas.usadas()) f.pd.subset();
                normal.gravarCodificacao(doc);
                negrito.gravarCodificacao(doc);
                arquivoPdf.concluir(recursos.getCOSObject());
            }
        } catch (IOException | RuntimeException e) {
            Files.deleteIfExists(arquivo);
            throw e;
        }
        if (!concluido) Files.deleteIfExists(arquivo);
    }


    /** The pages as this document keeps them. */
    private final class Paginas implements Folhas<FontePdf> {
        @Override
        public FontePdf normal() {
            return normal;
        }

        @Override
        public FontePdf negrito() {
            return negrito;
        }

        @Override
        public Pintura<FontePdf> pintura() {
            return conteudo;
        }

        @Override
        public void rascunho() {
            conteudo.reiniciar();
        }

        /**
         * Stored once, as a form every page of the frame paints: a page's own content then holds
         * only its body, which is less to compress and to write on each of thousands of pages.
         */
        @Override
        public void moldura(int qual) throws IOException {
            final String nome = "C" + qual;
            final PDFormXObject form = new PDFormXObject(doc);
            form.setBBox(new PDRectangle(LARGURA, ALTURA));
            form.setResources(fontesDosFormularios);
            try (OutputStream out = form.getContentStream().createOutputStream(COSName.FLATE_DECODE)) {
                out.write(conteudo.copia());
            }
            recursos.put(COSName.getPDFName(nome), form);
            molduras[qual] = ("/" + nome + " Do\n").getBytes(StandardCharsets.US_ASCII);
        }

        @Override
        public boolean guardaTexto() {
            return indice != null;
        }

        @Override
        public void texto(TrechosDaPagina t) {
            textoDaPagina = t;
        }

        @Override
        public void pagina(int numero, int moldura) throws IOException {
            synchronized (doc) {
                encerrarPagina();
                aberta = true;
                if (arquivoPdf == null) {
                    final COSDictionary d = new COSDictionary();
                    d.setItem(COSName.TYPE, COSName.PAGE);
                    d.setItem(COSName.MEDIA_BOX, caixa);
                    pagina = new PDPage(d);
                    pagina.setResources(recursos);
                    doc.addPage(pagina);
                }
            }
            if (ouvinte != null && numero > 1) ouvinte.prontas(numero - 1);
            conteudo.reiniciar();
            conteudo.anexar(molduras[moldura]);
            progresso.paginas(numero);
        }

        @Override
        public void ultimaPagina() throws IOException {
            synchronized (doc) {
                encerrarPagina();
            }
            if (ouvinte != null) ouvinte.prontas(diagramacao.paginas());
        }

        /** "Página N de M", known only now, as a second small content stream of the page. */
        @Override
        public void rodape(int numero) throws IOException {
            if (arquivoPdf != null) {
                arquivoPdf.rodape(numero - 1, conteudo);
                return;
            }
            if (numero == 1) numerando = doc.getPages().iterator();
            final PDPage p = numerando.next();
            synchronized (doc) {
                final COSArray partes = new COSArray();
                final COSBase corpo = p.getCOSObject().getDictionaryObject(COSName.CONTENTS);
                partes.add(corpo);
                partes.add(rascunho.gravar(conteudo));
                p.getCOSObject().setItem(COSName.CONTENTS, partes);
            }
        }
    }

    /**
     * The page is finished: its content goes to the file (or the preview's scratch) now, nothing
     * of it stays in memory. Only the footer's page number is added later.
     */
    private void encerrarPagina() throws IOException {
        if (!aberta) return;
        aberta = false;
        if (arquivoPdf != null) {
            arquivoPdf.pagina(conteudo);
        } else {
            pagina.getCOSObject().setItem(COSName.CONTENTS, rascunho.gravar(conteudo));
            pagina = null;
            indice.adicionar(textoDaPagina); // before the page is announced: a search may look at it then
        }
    }
}
